// Renaming without replacing on Windows: MoveFileEx without the replace flag
// refuses an existing target on every file system Windows mounts.
#include "names/SafeRename.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>

#include <windows.h>

namespace names {

namespace {

// A bare name must stay inside the directory and be a real entry name; the
// system calls would otherwise act on the directory itself or a parent.
bool isBareName(QStringView name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

int errnoFromWindows(DWORD code)
{
    switch (code) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return EEXIST;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
        return EINVAL;
    default:
        return EIO;
    }
}

}  // namespace

DirRenamer::DirRenamer(const QString& dirPath, Strategy strategy)
    : m_dirPath(QDir::toNativeSeparators(QDir(dirPath).absolutePath())), m_strategy(strategy)
{
    while (m_dirPath.endsWith(QLatin1Char('\\')) && m_dirPath.size() > 3)
        m_dirPath.chop(1);
    if (!QFileInfo(dirPath).isDir())
        m_openError = ENOENT;
}

DirRenamer::DirRenamer(const DirectoryHandle& dir, Strategy strategy) : DirRenamer(dir.path(), strategy)
{
    // The open handle keeps the directory from being removed or replaced meanwhile.
    if (!dir.isOpen())
        m_openError = dir.openError();
}

DirRenamer::~DirRenamer() = default;

int DirRenamer::removeExtraName(const QString&, const FileIdentity&)
{
    // Renames here never go through hard links, so they leave no extra names.
    return EOPNOTSUPP;
}

bool DirRenamer::isOpen() const
{
    return m_openError == 0;
}

QString DirRenamer::fileSystemName() const
{
    return fileSystemDisplayName(QString::fromUtf8(QStorageInfo(m_dirPath).fileSystemType()));
}

int DirRenamer::rename(QStringView from, QStringView to)
{
    if (m_openError)
        return m_openError;
    if (!isBareName(from) || !isBareName(to))
        return EINVAL;
    const QString sep = m_dirPath.endsWith(QLatin1Char('\\')) ? QString() : QStringLiteral("\\");
    // The long-path prefix lifts the 260-character limit of the joined path.
    const std::wstring src = (QStringLiteral("\\\\?\\") + m_dirPath + sep + from.toString()).toStdWString();
    const std::wstring dst = (QStringLiteral("\\\\?\\") + m_dirPath + sep + to.toString()).toStdWString();
    // No MOVEFILE_REPLACE_EXISTING: an existing target makes the call fail.
    // No MOVEFILE_COPY_ALLOWED: within one directory a copy is never needed.
    if (!MoveFileExW(src.c_str(), dst.c_str(), 0))
        return errnoFromWindows(GetLastError());
    return 0;
}

}  // namespace names
