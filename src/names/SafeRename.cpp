#include "names/SafeRename.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <QDir>
#include <QFileInfo>
#include <windows.h>
#else
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif
#endif

namespace names {

namespace {

// A bare name must stay inside the directory and be a real entry name; the
// system calls would otherwise act on the directory itself or a parent.
bool isBareName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0))
#ifdef _WIN32
        && !name.contains(QLatin1Char('\\'))
#endif
        ;
}

}  // namespace

QString describeError(int err)
{
    switch (err) {
    case EEXIST:
        return QStringLiteral("Ziel existiert bereits");
    case ENOENT:
        return QStringLiteral("Eintrag nicht gefunden");
    case EACCES:
    case EPERM:
        return QStringLiteral("Zugriff verweigert");
    case EBUSY:
        return QStringLiteral("Eintrag ist in Benutzung");
    case ENAMETOOLONG:
        return QStringLiteral("Name zu lang");
    case EINVAL:
        return QStringLiteral("Name ungültig");
    default:
        return QStringLiteral("Fehler: ") + QString::fromLocal8Bit(std::strerror(err));
    }
}

#ifdef _WIN32

namespace {

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
    : m_dir(QDir::toNativeSeparators(QDir(dirPath).absolutePath())), m_strategy(strategy)
{
    while (m_dir.endsWith(QLatin1Char('\\')) && m_dir.size() > 3)
        m_dir.chop(1);
    if (!QFileInfo(dirPath).isDir())
        m_openError = ENOENT;
}

DirRenamer::~DirRenamer() = default;

bool DirRenamer::isOpen() const
{
    return m_openError == 0;
}

int DirRenamer::rename(const QString& from, const QString& to)
{
    if (m_openError)
        return m_openError;
    if (!isBareName(from) || !isBareName(to))
        return EINVAL;
    const QString sep = m_dir.endsWith(QLatin1Char('\\')) ? QString() : QStringLiteral("\\");
    // The long-path prefix lifts the 260-character limit of the joined path.
    const std::wstring src = (QStringLiteral("\\\\?\\") + m_dir + sep + from).toStdWString();
    const std::wstring dst = (QStringLiteral("\\\\?\\") + m_dir + sep + to).toStdWString();
    // No MOVEFILE_REPLACE_EXISTING: an existing target makes the call fail.
    // No MOVEFILE_COPY_ALLOWED: within one directory a copy is never needed.
    if (!MoveFileExW(src.c_str(), dst.c_str(), 0))
        return errnoFromWindows(GetLastError());
    return 0;
}

#else  // POSIX

namespace {

int noReplaceRename(int dirFd, const char* from, const char* to)
{
#if defined(__linux__) && defined(SYS_renameat2)
    // Through syscall() so that a C library without the wrapper still works.
    if (::syscall(SYS_renameat2, dirFd, from, dirFd, to, RENAME_NOREPLACE) == 0)
        return 0;
    return errno;
#else
    (void)dirFd;
    (void)from;
    (void)to;
    return ENOSYS;
#endif
}

bool sameEntry(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

DirRenamer::DirRenamer(const QString& dirPath, Strategy strategy) : m_strategy(strategy)
{
    const QByteArray path = QFile::encodeName(dirPath);
    m_fd = path.isEmpty() ? -1 : ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        m_openError = path.isEmpty() ? ENOENT : errno;
}

DirRenamer::~DirRenamer()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool DirRenamer::isOpen() const
{
    return m_fd >= 0;
}

int DirRenamer::rename(const QString& from, const QString& to)
{
    if (m_fd < 0)
        return m_openError;
    if (!isBareName(from) || !isBareName(to))
        return EINVAL;
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);

    if (m_strategy == Strategy::Auto && !m_flagRefused) {
        const int err = noReplaceRename(m_fd, src.constData(), dst.constData());
        // With two valid bare names, EINVAL can only mean that the file system
        // does not know the no-replace request; remember that for the rest.
        if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP)
            return err;
        m_flagRefused = true;
    }
    return renameWithoutFlag(src, dst);
}

int DirRenamer::renameWithoutFlag(const QByteArray& from, const QByteArray& to)
{
    struct stat st;
    if (::fstatat(m_fd, from.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    const bool isDir = S_ISDIR(st.st_mode);
    if (isDir || m_strategy == Strategy::Placeholder)
        return renameOverPlaceholder(from, to, isDir);

    // A hard link is never made over an existing name, so this step cannot
    // replace anything. Flags 0: a symbolic link is linked itself, not its target.
    if (::linkat(m_fd, from.constData(), m_fd, to.constData(), 0) == 0) {
        if (::unlinkat(m_fd, from.constData(), 0) == 0)
            return 0;
        const int err = errno;
        ::unlinkat(m_fd, to.constData(), 0);  // undo: the entry keeps its old name only
        return err;
    }
    const int err = errno;
    if (err == EPERM || err == EXDEV || err == EOPNOTSUPP || err == EMLINK)
        return renameOverPlaceholder(from, to, false);
    return err;
}

int DirRenamer::renameOverPlaceholder(const QByteArray& from, const QByteArray& to, bool isDir)
{
    // Claim the target name exclusively; whatever exists there makes this fail.
    struct stat claimed;
    if (isDir) {
        if (::mkdirat(m_fd, to.constData(), 0700) != 0)
            return errno;
        if (::fstatat(m_fd, to.constData(), &claimed, AT_SYMLINK_NOFOLLOW) != 0) {
            const int err = errno;
            ::unlinkat(m_fd, to.constData(), AT_REMOVEDIR);  // removes only an empty directory
            return err;
        }
    } else {
        const int fd = ::openat(m_fd, to.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return errno;
        const int statResult = ::fstat(fd, &claimed);
        const int statErr = errno;
        ::close(fd);
        if (statResult != 0) {
            ::unlinkat(m_fd, to.constData(), 0);  // the empty file made just above
            return statErr;
        }
    }

    // Only the empty placeholder made above may be replaced; if something
    // took its place meanwhile, leave that alone.
    struct stat now;
    int err = 0;
    if (::fstatat(m_fd, to.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        err = errno;
    else if (!sameEntry(now, claimed) || (!isDir && now.st_size != 0))
        err = EEXIST;
    else if (::renameat(m_fd, from.constData(), m_fd, to.constData()) == 0)
        return 0;
    else
        err = errno;

    // Remove the placeholder, but only while it is still ours and empty.
    if (::fstatat(m_fd, to.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 && sameEntry(now, claimed)
        && (isDir || now.st_size == 0))
        ::unlinkat(m_fd, to.constData(), isDir ? AT_REMOVEDIR : 0);
    return err;
}

#endif

}  // namespace names
