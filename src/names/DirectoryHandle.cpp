#include "names/DirectoryHandle.h"

namespace names {

DirectoryHandle::~DirectoryHandle()
{
    close();
}

bool DirectoryHandle::isAt(const QString& path) const
{
    return isOpen() && identityOfPath(path) == m_identity;
}

}  // namespace names
