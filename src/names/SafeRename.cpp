#include "names/SafeRename.h"

#include <QFile>

#include <algorithm>

#include <cerrno>

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

FileIdentity identityOf(const struct stat& st)
{
    return {quint64(st.st_dev), quint64(st.st_ino), 0};
}

// Errors of link() that mean the file system has no hard links.
bool meansNoLinks(int err)
{
    return err == EPERM || err == EOPNOTSUPP || err == EXDEV || err == EMLINK || err == ENOSYS;
}

}  // namespace

DirRenamer::DirRenamer(const QString& dirPath, Strategy strategy) : m_strategy(strategy)
{
    const QByteArray path = QFile::encodeName(dirPath);
    m_fd = path.isEmpty() ? -1 : ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        m_openError = path.isEmpty() ? ENOENT : errno;
}

DirRenamer::DirRenamer(const DirectoryHandle& dir, Strategy strategy) : m_strategy(strategy)
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

namespace {

// A name in the file system's encoding. ASCII names, by far the most common, are copied into the
// object itself: a rename of 100,000 entries then allocates nothing per entry.
class EncodedName {
public:
    explicit EncodedName(const QString& name)
    {
        const qsizetype n = name.size();
        if (n < qsizetype(sizeof m_inline)) {
            const char16_t* u = reinterpret_cast<const char16_t*>(name.constData());
            char16_t all = 0;
            for (qsizetype i = 0; i < n; ++i) {
                all = char16_t(all | u[i]);
                m_inline[i] = char(u[i]);
            }
            if (all < 0x80) {
                m_inline[n] = '\0';
                m_data = m_inline;
                m_size = n;
                return;
            }
        }
        m_heap = QFile::encodeName(name);
        m_data = m_heap.constData();
        m_size = m_heap.size();
    }
    const char* data() const { return m_data; }
    QByteArray bytes() const { return m_heap.isNull() ? QByteArray(m_data, m_size) : m_heap; }

private:
    static constexpr qsizetype kInlineBytes = 512;
    char m_inline[kInlineBytes];
    QByteArray m_heap;
    const char* m_data = nullptr;
    qsizetype m_size = 0;
};

}  // namespace

int DirRenamer::rename(const QString& from, const QString& to)
{
    if (m_fd < 0)
        return m_openError;
    if (!isBareName(from) || !isBareName(to))
        return EINVAL;
    const EncodedName src(from);
    const EncodedName dst(to);

    if (m_strategy == Strategy::Auto && !m_flagRefused) {
        const int err = noReplaceRename(m_fd, src.data(), dst.data());
        // With two valid bare names, EINVAL can only mean that the file system
        // does not know the no-replace request; remember that for the rest.
        if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP)
            return err;
        m_flagRefused = true;
    }
    return renameWithoutFlag(src.bytes(), dst.bytes());
}

int DirRenamer::renameWithoutFlag(const QByteArray& from, const QByteArray& to)
{
    struct stat st;
    if (::fstatat(m_fd, from.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return renameDirectory(from, to, identityOf(st));
    if (m_strategy == Strategy::WithoutFlagOrLinks)
        return EOPNOTSUPP;
    return renameFileByLinks(from, to);
}

// Without the no-replace request, a hard link is the only step that claims a
// name without ever replacing what has it. The old name is then taken away by
// moving it to a name of our own and looking at what came along: an entry
// that another program put there meanwhile is given back, never removed.
int DirRenamer::renameFileByLinks(const QByteArray& from, const QByteArray& to)
{
    const QByteArray own = QFile::encodeName(randomTemporaryName());
    if (::linkat(m_fd, from.constData(), m_fd, own.constData(), 0) != 0) {
        const int err = errno;
        // Without hard links no file rename here is safe from a racing program: refuse it.
        return meansNoLinks(err) ? EOPNOTSUPP : err;
    }
    struct stat st;
    if (::fstatat(m_fd, own.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    const FileIdentity entry = identityOf(st);
    step();
    if (::linkat(m_fd, own.constData(), m_fd, to.constData(), 0) != 0) {
        const int err = errno;
        dropOwnName(own, entry);
        return err;
    }
    step();
    const QByteArray away = QFile::encodeName(randomTemporaryName());
    if (const int err = moveToOwnName(from, away)) {
        // The entry keeps its old name; take back the new one.
        removeExtraName(QFile::decodeName(to), entry);
        dropOwnName(own, entry);
        return err;
    }
    step();
    if (::fstatat(m_fd, away.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && identityOf(st) != entry)
        putBack(away, from);  // another program's entry took the old name meanwhile
    else
        dropOwnName(away, entry);
    dropOwnName(own, entry);
    return 0;
}

// A directory has no hard links, but renaming one can at worst replace an
// empty directory; so it takes a plain rename once the target was seen free,
// by way of a name of our own, where it is checked to be the directory meant.
int DirRenamer::renameDirectory(const QByteArray& from, const QByteArray& to, const FileIdentity& identity)
{
    struct stat st;
    if (::fstatat(m_fd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    const QByteArray own = QFile::encodeName(randomTemporaryName());
    if (const int err = moveToOwnName(from, own))
        return err;
    step();
    if (::fstatat(m_fd, own.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 || identityOf(st) != identity
        || !S_ISDIR(st.st_mode)) {
        putBack(own, from);
        return ENOENT;  // the directory seen a moment ago is not there any more
    }
    if (::fstatat(m_fd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        putBack(own, from);
        return EEXIST;
    }
    if (::renameat(m_fd, own.constData(), m_fd, to.constData()) != 0) {
        const int err = errno;
        putBack(own, from);
        return err;
    }
    return 0;
}

int DirRenamer::removeExtraName(const QString& name, const FileIdentity& identity)
{
    if (m_fd < 0)
        return m_openError;
    if (!isBareName(name))
        return EINVAL;
    const QByteArray encoded = QFile::encodeName(name);
    const QByteArray own = QFile::encodeName(randomTemporaryName());
    if (const int err = moveToOwnName(encoded, own))
        return err;
    if (dropOwnName(own, identity))
        return 0;
    putBack(own, encoded);
    return EEXIST;
}

// Moves `name` to `ownName`, a fresh random name that nothing else has or can take.
int DirRenamer::moveToOwnName(const QByteArray& name, const QByteArray& ownName)
{
    if (m_strategy == Strategy::Auto && !m_flagRefused) {
        const int err = noReplaceRename(m_fd, name.constData(), ownName.constData());
        if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP)
            return err;
        m_flagRefused = true;
    }
    return ::renameat(m_fd, name.constData(), m_fd, ownName.constData()) == 0 ? 0 : errno;
}

// Gives `name` back to what now sits under `ownName`, without replacing anything
// that took `name` meanwhile; if it did, the entry stays under `ownName`.
void DirRenamer::putBack(const QByteArray& ownName, const QByteArray& name)
{
    if (m_strategy == Strategy::Auto && !m_flagRefused
        && noReplaceRename(m_fd, ownName.constData(), name.constData()) == 0)
        return;
    struct stat st;
    if (::fstatat(m_fd, ownName.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (!S_ISDIR(st.st_mode)) {
        if (::linkat(m_fd, ownName.constData(), m_fd, name.constData(), 0) == 0)
            dropOwnName(ownName, identityOf(st));
        return;
    }
    // A directory can at worst replace an empty directory.
    if (::fstatat(m_fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT)
        ::renameat(m_fd, ownName.constData(), m_fd, name.constData());
}

// Removes `ownName` only while it is one of several names of `identity`.
bool DirRenamer::dropOwnName(const QByteArray& ownName, const FileIdentity& identity)
{
    struct stat st;
    if (::fstatat(m_fd, ownName.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 || identityOf(st) != identity
        || S_ISDIR(st.st_mode) || st.st_nlink < 2)
        return false;
    return ::unlinkat(m_fd, ownName.constData(), 0) == 0;
}

#endif

}  // namespace names
