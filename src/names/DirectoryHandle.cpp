#include "names/DirectoryHandle.h"

#include <QFile>

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace names {

#ifdef _WIN32

namespace {

FileIdentity identityOfHandle(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info))
        return {};
    return {info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

HANDLE openForIdentity(const QString& path, bool followLinks)
{
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), 0,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, flags,
                       nullptr);
}

FileIdentity identityAt(const QString& path, bool followLinks)
{
    HANDLE h = openForIdentity(path, followLinks);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    const FileIdentity id = identityOfHandle(h);
    CloseHandle(h);
    return id;
}

}  // namespace

DirectoryHandle::DirectoryHandle(const QString& path) : m_path(path)
{
    // Held open, the directory cannot be removed or replaced while it is worked on.
    HANDLE h = openForIdentity(path, true);
    if (h == INVALID_HANDLE_VALUE)
        return;
    m_handle = h;
    m_identity = identityOfHandle(h);
    m_openError = 0;
}

void DirectoryHandle::close()
{
    if (m_handle)
        CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}

bool DirectoryHandle::isOpen() const
{
    return m_handle != nullptr;
}

FileIdentity DirectoryHandle::entryIdentity(const QString& name) const
{
    return isOpen() ? identityAt(m_path + QLatin1Char('\\') + name, false) : FileIdentity{};
}

FileIdentity identityOfPath(const QString& path)
{
    return identityAt(path, true);
}

DirectoryHandle::DirectoryHandle(DirectoryHandle&& other) noexcept
    : m_path(std::move(other.m_path)), m_identity(other.m_identity), m_openError(other.m_openError),
      m_handle(std::exchange(other.m_handle, nullptr))
{
    other.m_openError = ENOENT;
}

DirectoryHandle& DirectoryHandle::operator=(DirectoryHandle&& other) noexcept
{
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_identity = other.m_identity;
        m_openError = std::exchange(other.m_openError, ENOENT);
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

#else

namespace {

FileIdentity identityOfStat(const struct stat& st)
{
    return {quint64(st.st_dev), quint64(st.st_ino), 0};
}

}  // namespace

DirectoryHandle::DirectoryHandle(const QString& path) : m_path(path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty())
        return;
    m_fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        m_openError = errno;
        return;
    }
    struct stat st;
    if (::fstat(m_fd, &st) != 0) {
        m_openError = errno;
        close();
        return;
    }
    m_identity = identityOfStat(st);
    m_openError = 0;
}

void DirectoryHandle::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool DirectoryHandle::isOpen() const
{
    return m_fd >= 0;
}

FileIdentity DirectoryHandle::entryIdentity(const QString& name) const
{
    if (m_fd < 0)
        return {};
    const QByteArray encoded = QFile::encodeName(name);
#ifdef STATX_BTIME
    struct statx stx;
    if (::statx(m_fd, encoded.constData(), AT_SYMLINK_NOFOLLOW, STATX_INO | STATX_BTIME, &stx) != 0)
        return {};
    const qint64 birth = (stx.stx_mask & STATX_BTIME)
        ? qint64(stx.stx_btime.tv_sec) * 1000000000 + stx.stx_btime.tv_nsec
        : 0;
    return {quint64(makedev(stx.stx_dev_major, stx.stx_dev_minor)), quint64(stx.stx_ino), birth};
#else
    struct stat st;
    if (::fstatat(m_fd, encoded.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    return identityOfStat(st);
#endif
}

FileIdentity identityOfPath(const QString& path)
{
    struct stat st;
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || ::stat(encoded.constData(), &st) != 0)
        return {};
    return identityOfStat(st);
}

DirectoryHandle::DirectoryHandle(DirectoryHandle&& other) noexcept
    : m_path(std::move(other.m_path)), m_identity(other.m_identity), m_openError(other.m_openError),
      m_fd(std::exchange(other.m_fd, -1))
{
    other.m_openError = ENOENT;
}

DirectoryHandle& DirectoryHandle::operator=(DirectoryHandle&& other) noexcept
{
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_identity = other.m_identity;
        m_openError = std::exchange(other.m_openError, ENOENT);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

#endif

DirectoryHandle::~DirectoryHandle()
{
    close();
}

bool DirectoryHandle::isAt(const QString& path) const
{
    return isOpen() && identityOfPath(path) == m_identity;
}

}  // namespace names
