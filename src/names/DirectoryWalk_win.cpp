#include "names/DirectoryWalk.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace names {

struct DirectoryWalk::Impl {
    const DirectoryHandle* handle = nullptr;
    std::optional<QDirIterator> it;
    QByteArray name;  // the current entry's encoded name
};

DirectoryWalk::DirectoryWalk(const DirectoryHandle& handle) : m_impl(std::make_unique<Impl>())
{
    if (!handle.isOpen())
        return;
    m_impl->handle = &handle;
    m_impl->it.emplace(handle.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
}

DirectoryWalk::~DirectoryWalk() = default;

bool DirectoryWalk::isOpen() const
{
    return m_impl->it.has_value();
}

std::optional<DirectoryWalk::Entry> DirectoryWalk::next()
{
    if (!m_impl->it || !m_impl->it->hasNext())
        return std::nullopt;
    m_impl->it->next();
    const QFileInfo info = m_impl->it->fileInfo();
    m_impl->name = QFile::encodeName(info.fileName());
    const Kind kind = info.isSymLink() ? Kind::Link
        : info.isDir()                 ? Kind::Directory
        : info.isFile()                ? Kind::File
                                       : Kind::Other;
    return Entry{m_impl->name, m_impl->handle->entryIdentity(info.fileName()).inode, kind, info.isHidden()};
}

std::optional<DirectoryWalk::Kind> DirectoryWalk::kindOf(QByteArrayView name, bool followLinks) const
{
    if (!m_impl->handle)
        return std::nullopt;
    const QFileInfo info(m_impl->handle->path() + QLatin1Char('/') + QFile::decodeName(name.toByteArray()));
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    if (info.isSymLink() && !followLinks)
        return Kind::Link;
    return info.isDir() ? Kind::Directory : info.isFile() ? Kind::File : Kind::Other;
}

}  // namespace names
