#include "names/DirectoryHandle.h"

#include <utility>

namespace names {

bool DirectoryHandle::isOpen() const
{
    return m_native != kNoHandle;
}

DirectoryHandle::DirectoryHandle(DirectoryHandle&& other) noexcept
    : m_path(std::move(other.m_path)), m_identity(other.m_identity), m_openError(std::exchange(other.m_openError, ENOENT)),
      m_native(std::exchange(other.m_native, kNoHandle))
{
}

DirectoryHandle& DirectoryHandle::operator=(DirectoryHandle&& other) noexcept
{
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_identity = other.m_identity;
        m_openError = std::exchange(other.m_openError, ENOENT);
        m_native = std::exchange(other.m_native, kNoHandle);
    }
    return *this;
}

DirectoryHandle::~DirectoryHandle()
{
    close();
}

bool DirectoryHandle::isAt(const QString& path) const
{
    return isOpen() && identityOfPath(path) == m_identity;
}

}  // namespace names
