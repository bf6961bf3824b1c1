#include "web/Update.h"

#include "ui/Messenger.h"
#include "files/PathUtils.h"
#include "web/Homepage.h"
#include "web/UpdatePermission.h"
#include "web/UpdatePlatform.h"
#include "web/Version.h"
#include "web/WebSite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace web {

namespace {

void makeExecutable(const QString& path)
{
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser |
                                    QFileDevice::ExeGroup | QFileDevice::ExeOther);
}

QString packageManagerUpdateText()
{
    return QStringLiteral("Updates für diese Installation kommen über die Paketverwaltung des Systems. Quillet lädt "
                          "keine Updates in einen Programmordner, der nicht Ihnen gehört, und startet als "
                          "Administrator (root) keine heruntergeladenen Programme.\r\rSoll die Homepage geöffnet werden?");
}

QString versionLine()
{
    return QStringLiteral("Dies ist die Version: ") + GetVersion() + QStringLiteral("\r\r");
}

// Where the program's folder is not the user's own, or the program runs as root, nothing is fetched or
// started there: the system's package manager brings the updates. True when the update was refused.
bool refuseUpdate(QWidget* parent, ui::Messenger& messenger, const QString& baseDir)
{
    if (updateRefusal(programFolderFacts(baseDir)) == UpdateRefusal::None)
        return false;
    if (messenger.show(parent, versionLine() + packageManagerUpdateText(), QStringLiteral("Update"), ui::Buttons::YesNo,
                       ui::Icon::Information) == ui::Answer::Yes)
        openHomepage(parent, messenger);
    return true;
}

}  // namespace

UpdaterCommand updaterCommand(const QString& LocalUpdaterEXE, const QString& URLFileToDownload, const QString& LocalFileToUpdate)
{
    UpdaterCommand command;
    command.program = LocalUpdaterEXE;
    command.argumentList = {QStringLiteral("[URL]") + URLFileToDownload, QStringLiteral("[PATH]") + LocalFileToUpdate};
    command.arguments = command.argumentList.join(QLatin1Char(' '));
    return command;
}

bool DownloadUpdateWithUpdater(QWidget* parent, ui::Messenger& messenger, const QString& baseDir,
                               const QString& URLFileToDownload, const QString& LocalFileToUpdate,
                               const QString& LocalUpdaterEXE, const QString& URLUpdaterEXE, const DownloadOptions& options)
{
    if (refuseUpdate(parent, messenger, baseDir))
        return false;
    const QString updaterPath = QDir(baseDir).absoluteFilePath(LocalUpdaterEXE);
    if (!files::FileExists(updaterPath)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!URLToFileDownload(URLUpdaterEXE, updaterPath, Replace, options).isEmpty())
            makeExecutable(updaterPath);
        if (!files::FileExists(updaterPath)) {
            messenger.show(parent, LocalUpdaterEXE + QStringLiteral("\r\rDownload Failed! "), QString(), ui::Buttons::Ok,
                           ui::Icon::Stop);
            return false;
        }
    }
    if (!files::FileExists(updaterPath)) {
        messenger.show(parent, LocalUpdaterEXE + QStringLiteral(" not found!\rUpdate Cancled!"), QStringLiteral("File not found!"),
                       ui::Buttons::Ok, ui::Icon::Stop);
        return false;
    }
    if (!startUpdater(updaterCommand(LocalUpdaterEXE, URLFileToDownload, LocalFileToUpdate), baseDir)) {
        // The program goes on: ending now would leave nothing to replace it.
        messenger.show(parent, LocalUpdaterEXE + QStringLiteral(" konnte nicht gestartet werden!\rUpdate abgebrochen!"),
                       QStringLiteral("Update"), ui::Buttons::Ok, ui::Icon::Stop);
        return false;
    }
    messenger.endProgram();
    return true;
}

void Download_Click(QWidget* parent, ui::Messenger& messenger, const QString& programDir, const QString& programFile)
{
    // The updater lives beside the program, whatever the current directory is.
    const QString dir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    if (refuseUpdate(parent, messenger, dir))
        return;
    const QString question = versionLine() + QStringLiteral("Soll jetzt überprüft werden ob eine neuere Version verfügbar ist?");
    if (messenger.show(parent, question, QStringLiteral("Auf neue Version überprüfen?"), ui::Buttons::YesNo,
                       ui::Icon::Information) != ui::Answer::Yes)
        return;
    const QString file = programFile.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName() : programFile;
    DownloadUpdateWithUpdater(parent, messenger, dir, newestProgramUrl(), file, kLocalUpdaterName, updaterUrl());
}

}  // namespace web
