#include "web/Update.h"

#include "ui/Messenger.h"
#include "textmode/PathUtils.h"
#include "web/Version.h"
#include "web/WebSite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace web {

namespace {

bool startUpdater(const UpdaterCommand& command, const QString& baseDir)
{
    QProcess process;
    process.setProgram(QDir(baseDir).absoluteFilePath(command.program));
#ifdef _WIN32
    process.setNativeArguments(command.arguments);  // handed over as it stands, without added quotes
#else
    process.setArguments(command.argumentList);
#endif
    process.setWorkingDirectory(baseDir);
    return process.startDetached();
}

void makeExecutable(const QString& path)
{
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser |
                                    QFileDevice::ExeGroup | QFileDevice::ExeOther);
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
    const QString updaterPath = QDir(baseDir).absoluteFilePath(LocalUpdaterEXE);
    if (!textmode::FileExists(updaterPath)) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!URLToFileDownload(URLUpdaterEXE, updaterPath, Replace, options).isEmpty())
            makeExecutable(updaterPath);
        if (!textmode::FileExists(updaterPath)) {
            messenger.show(parent, LocalUpdaterEXE + QStringLiteral("\r\rDownload Failed! "), QString(), ui::Buttons::Ok,
                           ui::Icon::Stop);
            return false;
        }
    }
    if (!textmode::FileExists(updaterPath)) {
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
    const QString question = QStringLiteral("Dies ist die Version: ") + GetVersion() +
                             QStringLiteral("\r\rSoll jetzt überprüft werden ob eine neuere Version verfügbar ist?");
    if (messenger.show(parent, question, QStringLiteral("Auf neue Version überprüfen?"), ui::Buttons::YesNo,
                       ui::Icon::Information) != ui::Answer::Yes)
        return;
    // The updater lives beside the program, whatever the current directory is.
    const QString dir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    const QString file = programFile.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName() : programFile;
    DownloadUpdateWithUpdater(parent, messenger, dir, newestProgramUrl(), file, kLocalUpdaterName, updaterUrl());
}

}  // namespace web
