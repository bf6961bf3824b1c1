#include "web/UpdatePermission.h"
#include "web/UpdatePlatform.h"
#include "web/Update.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace web {

ProgramFolderFacts programFolderFacts(const QString& folder)
{
    ProgramFolderFacts facts;
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    facts.folder = canonical.isEmpty() ? folder : canonical;
    facts.hasUsers = true;
    facts.effectiveUser = geteuid();
    facts.realUser = getuid();
    const QByteArray path = QFile::encodeName(facts.folder);
    struct stat status {};
    if (::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode))
        facts.owner = status.st_uid;
    // AT_EACCESS: the rights of the effective user, the one that would write the updater.
    facts.writable = ::faccessat(AT_FDCWD, path.constData(), W_OK | X_OK, AT_EACCESS) == 0;
    return facts;
}

bool startUpdater(const UpdaterCommand& command, const QString& baseDir)
{
    QProcess process;
    process.setProgram(QDir(baseDir).absoluteFilePath(command.program));
    process.setArguments(command.argumentList);
    process.setWorkingDirectory(baseDir);
    return process.startDetached();
}

}  // namespace web
