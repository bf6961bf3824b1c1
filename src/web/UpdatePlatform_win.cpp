#include "web/UpdatePermission.h"
#include "web/UpdatePlatform.h"
#include "web/Update.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace web {

// Folders carry no single owning user id here; the updater asks for the rights it needs itself.
ProgramFolderFacts programFolderFacts(const QString& folder)
{
    ProgramFolderFacts facts;
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    facts.folder = canonical.isEmpty() ? folder : canonical;
    facts.writable = QFileInfo(facts.folder).isWritable();
    return facts;
}

bool startUpdater(const UpdaterCommand& command, const QString& baseDir)
{
    QProcess process;
    process.setProgram(QDir(baseDir).absoluteFilePath(command.program));
    process.setNativeArguments(command.arguments);  // handed over as it stands, without added quotes
    process.setWorkingDirectory(baseDir);
    return process.startDetached();
}

}  // namespace web
