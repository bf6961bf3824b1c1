#include "names/DirectoryHandle.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace names {

namespace {

FileIdentity identityOfStat(const struct stat& st)
{
    return {quint64(st.st_dev), quint64(st.st_ino), 0};
}

// Device, inode and, where the file system keeps one, birth time of `name` under `dirFd` (of `dirFd`
// itself for an empty name). Without statx, or where the file system gives no birth time, it stays 0.
FileIdentity identityAt(int dirFd, const char* name, bool followLinks)
{
    const int flags = (followLinks ? 0 : AT_SYMLINK_NOFOLLOW) | (name[0] == '\0' ? AT_EMPTY_PATH : 0);
#ifdef STATX_BTIME
    struct statx stx;
    if (::statx(dirFd, name, flags, STATX_INO | STATX_BTIME, &stx) == 0) {
        const qint64 birth = (stx.stx_mask & STATX_BTIME)
            ? qint64(stx.stx_btime.tv_sec) * 1000000000 + stx.stx_btime.tv_nsec
            : 0;
        return {quint64(makedev(stx.stx_dev_major, stx.stx_dev_minor)), quint64(stx.stx_ino), birth};
    }
    if (errno != ENOSYS)
        return {};
#endif
    struct stat st;
    if (::fstatat(dirFd, name, &st, flags) != 0)
        return {};
    return identityOfStat(st);
}

}  // namespace

DirectoryHandle::DirectoryHandle(const QString& path) : m_path(path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty())
        return;
    const int opened = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (opened < 0) {
        m_openError = errno;
        return;
    }
    m_native = opened;
    // With its birth time: a directory made later may be given the same inode number.
    m_identity = identityAt(fd(), "", true);
    if (!m_identity.isValid()) {
        m_openError = errno != 0 ? errno : EIO;
        close();
        return;
    }
    m_openError = 0;
}

void DirectoryHandle::close()
{
    if (isOpen())
        ::close(fd());
    m_native = kNoHandle;
}

FileIdentity DirectoryHandle::entryIdentity(const QString& name) const
{
    if (!isOpen() || name.isEmpty())
        return {};
    return identityAt(fd(), QFile::encodeName(name).constData(), false);
}

FileIdentity identityOfPath(const QString& path)
{
    struct stat st;
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || ::stat(encoded.constData(), &st) != 0)
        return {};
    return identityOfStat(st);
}

}  // namespace names
