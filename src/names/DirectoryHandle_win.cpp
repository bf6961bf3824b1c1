#include "names/DirectoryHandle.h"

#include <windows.h>

namespace names {

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
    m_native = reinterpret_cast<std::intptr_t>(h);
    m_identity = identityOfHandle(h);
    m_openError = 0;
}

void DirectoryHandle::close()
{
    if (isOpen())
        CloseHandle(reinterpret_cast<HANDLE>(m_native));
    m_native = kNoHandle;
}

FileIdentity DirectoryHandle::entryIdentity(const QString& name) const
{
    return isOpen() ? identityAt(m_path + QLatin1Char('\\') + name, false) : FileIdentity{};
}

FileIdentity identityOfPath(const QString& path)
{
    return identityAt(path, true);
}

}  // namespace names
