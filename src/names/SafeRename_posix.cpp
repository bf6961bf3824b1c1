// Renaming without replacing on Linux and other POSIX systems. Three ways, the first one the file
// system allows:
//  1. The no-replace rename (renameat2): one atomic step. The kernel's own file systems take it;
//     FUSE and network file systems mostly do not.
//  2. For a file: its new name as a hard link first, since a link never replaces; then the old
//     name is taken away (bindfs, NTFS and sshfs through FUSE).
//  3. For a directory, and for a file where there are no hard links (FAT and exFAT through FUSE):
//     the new name is claimed by exclusive creation of an empty entry of our own, and the entry is
//     renamed over that claim, which a plain rename replaces (a file by a file, a directory by an
//     empty directory). Another program can only get in by removing or replacing our claim in the
//     instant between the last look at it and the rename; a program that merely creates or writes
//     the name leaves its entry standing.
#include "names/SafeRename.h"

#include "names/AsciiNames.h"
#include "names/NoReplaceRename.h"

#include <QFile>
#include <QStorageInfo>

#include <cerrno>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace names {

namespace {

// A bare name must stay inside the directory and be a real entry name; the
// system calls would otherwise act on the directory itself or a parent.
bool isBareName(QStringView name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// With two valid bare names, EINVAL can only mean that the file system does not know the request.
bool meansNoFlag(int err)
{
    return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP;
}

FileIdentity identityOf(const struct stat& st)
{
    return {quint64(st.st_dev), quint64(st.st_ino), 0};
}

// Errors of link() that mean the file system, or this file, takes no further name.
bool meansNoLinks(int err)
{
    return err == EPERM || err == EOPNOTSUPP || err == EXDEV || err == EMLINK || err == ENOSYS;
}

// What renameFileByLinks() returns when there are no hard links to go by.
constexpr int kNoLinks = -1;

}  // namespace

struct DirRenamer::Steps {
    static int rename(DirRenamer& r, const char* from, const char* to);
    static int renameFileByLinks(DirRenamer& r, const char* from, const char* to, const FileIdentity& seen);
    static int renameOverClaim(DirRenamer& r, const char* from, const char* to, bool isDir);
    static bool isUntouchedClaim(const DirRenamer& r, const char* name, const FileIdentity& claim, bool isDir);
    static bool dropClaim(const DirRenamer& r, const char* name, const FileIdentity& claim, bool isDir);
    static int moveToOwnName(DirRenamer& r, const char* name, const char* ownName);
    static void putBack(DirRenamer& r, const char* ownName, const char* name);
    static bool dropOwnName(const DirRenamer& r, const char* ownName, const FileIdentity& identity);
};

DirRenamer::DirRenamer(const QString& dirPath, Strategy strategy) : m_dirPath(dirPath), m_strategy(strategy)
{
    const QByteArray path = QFile::encodeName(dirPath);
    m_fd = path.isEmpty() ? -1 : ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        m_openError = path.isEmpty() ? ENOENT : errno;
}

DirRenamer::DirRenamer(const DirectoryHandle& dir, Strategy strategy) : m_dirPath(dir.path()), m_strategy(strategy)
{
    m_fd = dir.isOpen() ? ::fcntl(dir.fd(), F_DUPFD_CLOEXEC, 0) : -1;
    if (m_fd < 0)
        m_openError = dir.isOpen() ? errno : dir.openError();
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

QString DirRenamer::fileSystemName() const
{
    // Where the held directory is now (Linux names it under /proc), else where it was opened.
    QStorageInfo volume(QStringLiteral("/proc/self/fd/%1").arg(m_fd));
    if (!volume.isValid())
        volume.setPath(m_dirPath);
    return volume.isValid() ? fileSystemDisplayName(QString::fromUtf8(volume.fileSystemType())) : QString();
}

int DirRenamer::rename(QStringView from, QStringView to)
{
    if (m_fd < 0)
        return m_openError;
    if (!isBareName(from) || !isBareName(to))
        return EINVAL;
    return Steps::rename(*this, EncodedName(from).data(), EncodedName(to).data());
}

int DirRenamer::Steps::rename(DirRenamer& r, const char* from, const char* to)
{
    if (r.m_strategy == Strategy::Auto && !r.m_flagRefused) {
        const int err = noReplaceRename(r.m_fd, from, to);
        if (!meansNoFlag(err))
            return err;
        r.m_flagRefused = true;  // asked no more in this directory
    }
    struct stat st;
    if (::fstatat(r.m_fd, from, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    const bool isDir = S_ISDIR(st.st_mode);
    if (!isDir && r.m_strategy != Strategy::WithoutFlagOrLinks && !r.m_linksUnusable) {
        const int err = renameFileByLinks(r, from, to, identityOf(st));
        if (err != kNoLinks)
            return err;
    }
    return renameOverClaim(r, from, to, isDir);
}

// The new name as a hard link claims it without ever replacing what has it. The old name is then
// taken away by moving it to a name of our own and looking at what came along: an entry that
// another program put there meanwhile is given back, never removed.
int DirRenamer::Steps::renameFileByLinks(DirRenamer& r, const char* from, const char* to, const FileIdentity& seen)
{
    const QByteArray own = QFile::encodeName(randomTemporaryName());
    if (::linkat(r.m_fd, from, r.m_fd, own.constData(), 0) != 0) {
        const int err = errno;
        return meansNoLinks(err) ? kNoLinks : err;
    }
    struct stat st;
    if (::fstatat(r.m_fd, own.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    const FileIdentity entry = identityOf(st);
    if (entry != seen || st.st_nlink < 2) {
        // Some FUSE file systems (sshfs) number names rather than files and count no links: there
        // our name cannot be told from another file, so the way by links is closed. While the old
        // name still leads to what was linked, taking our name back loses nothing.
        struct stat now;
        if (::fstatat(r.m_fd, from, &now, AT_SYMLINK_NOFOLLOW) == 0 && identityOf(now) == seen) {
            ::unlinkat(r.m_fd, own.constData(), 0);
            r.m_linksUnusable = true;
            return kNoLinks;
        }
        // Otherwise another program replaced the old name meanwhile; our name holds the entry meant.
    }
    r.step();
    if (::linkat(r.m_fd, own.constData(), r.m_fd, to, 0) != 0) {
        const int err = errno;
        dropOwnName(r, own.constData(), entry);
        return err;
    }
    r.step();
    const QByteArray away = QFile::encodeName(randomTemporaryName());
    if (const int err = moveToOwnName(r, from, away.constData())) {
        // The entry keeps its old name; take back the new one.
        r.removeExtraName(QFile::decodeName(to), entry);
        dropOwnName(r, own.constData(), entry);
        return err;
    }
    r.step();
    if (::fstatat(r.m_fd, away.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && identityOf(st) != entry)
        putBack(r, away.constData(), from);  // another program's entry took the old name meanwhile
    else
        dropOwnName(r, away.constData(), entry);
    dropOwnName(r, own.constData(), entry);
    return 0;
}

// Claims `to` with an empty entry of the source's kind, created only where no entry of that name
// exists (in any letter case, where the file system ignores case), and renames `from` over it.
int DirRenamer::Steps::renameOverClaim(DirRenamer& r, const char* from, const char* to, bool isDir)
{
    // The claim stays open until the last look at it, so that its identity holds (a FUSE file
    // system numbers only the entries the kernel keeps), and is closed before the rename, so that
    // the rename replaces an entry nobody has open.
    int claimFd = -1;
    if (isDir) {
        if (::mkdirat(r.m_fd, to, 0700) != 0)
            return errno;
        claimFd = ::openat(r.m_fd, to, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    } else {
        claimFd = ::openat(r.m_fd, to, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (claimFd < 0)
            return errno;
    }
    struct stat st;
    if (claimFd < 0 || ::fstat(claimFd, &st) != 0) {
        // Our directory is gone or not ours a moment after it was made: leave the name alone.
        const int err = errno;
        if (claimFd >= 0)
            ::close(claimFd);
        return err == ENOENT || err == ELOOP || err == ENOTDIR ? EEXIST : err;
    }
    const FileIdentity claim = identityOf(st);
    r.step();
    const bool untouched = isUntouchedClaim(r, to, claim, isDir);
    ::close(claimFd);
    if (!untouched)
        return EEXIST;  // another program wrote to the name or put its own entry there: it keeps it
    if (::renameat(r.m_fd, from, r.m_fd, to) == 0)
        return 0;
    const int err = errno;
    if (!dropClaim(r, to, claim, isDir))
        return err == ENOENT ? ENOENT : EEXIST;  // the name is another program's now
    // Our empty claim was there and the file system would not rename over it.
    if (err == EPERM || err == EOPNOTSUPP || err == ENOSYS || err == EEXIST || err == ENOTEMPTY)
        return EOPNOTSUPP;
    return err;
}

// True while `name` is still the claim made, empty (a directory is checked by the rename itself,
// which replaces only an empty one).
bool DirRenamer::Steps::isUntouchedClaim(const DirRenamer& r, const char* name, const FileIdentity& claim, bool isDir)
{
    struct stat st;
    if (::fstatat(r.m_fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || identityOf(st) != claim)
        return false;
    return isDir ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode) && st.st_size == 0;
}

// Removes a claim that is still ours and empty; true when it did.
bool DirRenamer::Steps::dropClaim(const DirRenamer& r, const char* name, const FileIdentity& claim, bool isDir)
{
    // A directory that another program filled meanwhile cannot be removed.
    return isUntouchedClaim(r, name, claim, isDir) && ::unlinkat(r.m_fd, name, isDir ? AT_REMOVEDIR : 0) == 0;
}

int DirRenamer::removeExtraName(const QString& name, const FileIdentity& identity)
{
    if (m_fd < 0)
        return m_openError;
    if (!isBareName(name))
        return EINVAL;
    const QByteArray encoded = QFile::encodeName(name);
    // The only name of an entry, or another entry, is left where it is without being moved.
    struct stat st;
    if (::fstatat(m_fd, encoded.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (identityOf(st) != identity || S_ISDIR(st.st_mode) || st.st_nlink < 2)
        return EEXIST;
    // Moved to a name of our own first, so that what is removed is what was looked at.
    const QByteArray own = QFile::encodeName(randomTemporaryName());
    if (const int err = Steps::moveToOwnName(*this, encoded.constData(), own.constData()))
        return err;
    if (Steps::dropOwnName(*this, own.constData(), identity))
        return 0;
    Steps::putBack(*this, own.constData(), encoded.constData());
    return EEXIST;
}

// Moves `name` to `ownName`, a fresh random name that nothing else has or can take.
int DirRenamer::Steps::moveToOwnName(DirRenamer& r, const char* name, const char* ownName)
{
    if (r.m_strategy == Strategy::Auto && !r.m_flagRefused) {
        const int err = noReplaceRename(r.m_fd, name, ownName);
        if (!meansNoFlag(err))
            return err;
        r.m_flagRefused = true;
    }
    return ::renameat(r.m_fd, name, r.m_fd, ownName) == 0 ? 0 : errno;
}

// Gives `name` back to what now sits under `ownName`, without replacing anything
// that took `name` meanwhile; if it did, the entry stays under `ownName`.
void DirRenamer::Steps::putBack(DirRenamer& r, const char* ownName, const char* name)
{
    if (r.m_strategy == Strategy::Auto && !r.m_flagRefused) {
        const int err = noReplaceRename(r.m_fd, ownName, name);
        if (!meansNoFlag(err))
            return;
        r.m_flagRefused = true;
    }
    struct stat st;
    if (::fstatat(r.m_fd, ownName, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    const bool isDir = S_ISDIR(st.st_mode);
    if (!isDir && r.m_strategy != Strategy::WithoutFlagOrLinks && !r.m_linksUnusable) {
        if (::linkat(r.m_fd, ownName, r.m_fd, name, 0) == 0) {
            dropOwnName(r, ownName, identityOf(st));
            return;
        }
        if (!meansNoLinks(errno))
            return;
    }
    renameOverClaim(r, ownName, name, isDir);
}

// Removes `ownName` only while it is one of several names of `identity`.
bool DirRenamer::Steps::dropOwnName(const DirRenamer& r, const char* ownName, const FileIdentity& identity)
{
    struct stat st;
    if (::fstatat(r.m_fd, ownName, &st, AT_SYMLINK_NOFOLLOW) != 0 || identityOf(st) != identity
        || S_ISDIR(st.st_mode) || st.st_nlink < 2)
        return false;
    return ::unlinkat(r.m_fd, ownName, 0) == 0;
}

}  // namespace names
