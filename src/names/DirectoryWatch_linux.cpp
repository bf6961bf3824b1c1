// The watch on Linux: inotify on the held directory.
#include "names/DirectoryWatch.h"

#include <QByteArray>
#include <QFile>

#include <linux/magic.h>
#include <linux/fs.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace names {

namespace {

constexpr int kCaseFoldingFlag = 0x40000000;  // FS_CASEFOLD_FL, missing from older kernel headers

// File systems whose every change passes through this machine's kernel, so that a watch sees it.
// Network and user-space file systems are changed behind its back and are left out.
bool watchSeesEveryChange(int dirFd)
{
    struct statfs fs;
    if (::fstatfs(dirFd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:  // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
    case 0x7366746EUL:  // NTFS (kernel driver)
        break;
    default:
        // Also left out: FAT and exFAT, which number an entry anew whenever it is listed, so that no
        // listed inode can be trusted; and file systems that can be rolled back behind a watch's back.
        return false;
    }
    // A directory that ignores case folds names in its own way, which the watch's names need not match.
    // (Only file systems that answer this request can have such directories.)
    int flags = 0;
    return ::ioctl(dirFd, FS_IOC_GETFLAGS, &flags) != 0 || !(flags & kCaseFoldingFlag);
}

}  // namespace

void DirectoryWatch::restart(const DirectoryHandle& dir)
{
    stop();
    if (!dir.isOpen() || !watchSeesEveryChange(dir.fd()))
        return;
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    // The held directory, not whatever its path leads to by now.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(dir.fd());
    if (::inotify_add_watch(m_fd, self.constData(),
                            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_ONLYDIR)
        < 0)
        stop();
}

std::optional<QSet<QString>> DirectoryWatch::changedNames()
{
    if (m_fd < 0)
        return std::nullopt;
    alignas(struct inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return m_changed;
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            struct inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            if (event.mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_UNMOUNT)) {
                stop();  // from here on nothing is known
                return std::nullopt;
            }
            if (event.len > 0)
                m_changed.insert(QFile::decodeName(buffer + at + sizeof event).toCaseFolded());
            at += ssize_t(sizeof event + event.len);
        }
    }
    stop();
    return std::nullopt;
}

std::optional<QSet<QString>> DirectoryWatch::takeChangedNames()
{
    std::optional<QSet<QString>> changed = changedNames();
    stop();
    return changed;
}

void DirectoryWatch::stop()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_changed.clear();
}

}  // namespace names
