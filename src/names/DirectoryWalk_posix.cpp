#include "names/DirectoryWalk.h"

#include <QByteArray>

#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace names {

namespace {

DirectoryWalk::Kind kindOfType(unsigned char type)
{
    switch (type) {
    case DT_REG: return DirectoryWalk::Kind::File;
    case DT_DIR: return DirectoryWalk::Kind::Directory;
    case DT_LNK: return DirectoryWalk::Kind::Link;
    case DT_UNKNOWN: return DirectoryWalk::Kind::Unknown;
    default: return DirectoryWalk::Kind::Other;
    }
}

DirectoryWalk::Kind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return DirectoryWalk::Kind::File;
    if (S_ISDIR(mode))
        return DirectoryWalk::Kind::Directory;
    if (S_ISLNK(mode))
        return DirectoryWalk::Kind::Link;
    return DirectoryWalk::Kind::Other;
}

}  // namespace

struct DirectoryWalk::Impl {
    DIR* dir = nullptr;
};

DirectoryWalk::DirectoryWalk(const DirectoryHandle& handle) : m_impl(std::make_unique<Impl>())
{
    if (!handle.isOpen())
        return;
    // A descriptor of its own, so that the listing starts at the beginning and closing it leaves the handle open.
    const int fd = ::openat(handle.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    m_impl->dir = ::fdopendir(fd);
    if (!m_impl->dir)
        ::close(fd);
}

DirectoryWalk::~DirectoryWalk()
{
    if (m_impl->dir)
        ::closedir(m_impl->dir);
}

bool DirectoryWalk::isOpen() const
{
    return m_impl->dir != nullptr;
}

std::optional<DirectoryWalk::Entry> DirectoryWalk::next()
{
    if (!m_impl->dir)
        return std::nullopt;
    while (const dirent* e = ::readdir(m_impl->dir)) {
        const char* raw = e->d_name;
        if (raw[0] == '.' && (raw[1] == '\0' || (raw[1] == '.' && raw[2] == '\0')))
            continue;
        return Entry{QByteArrayView(raw, qsizetype(std::strlen(raw))), quint64(e->d_ino), kindOfType(e->d_type),
                     raw[0] == '.'};
    }
    return std::nullopt;
}

std::optional<DirectoryWalk::Kind> DirectoryWalk::kindOf(QByteArrayView name, bool followLinks) const
{
    if (!m_impl->dir)
        return std::nullopt;
    struct stat st {};
    const QByteArray terminated = name.toByteArray();
    if (::fstatat(::dirfd(m_impl->dir), terminated.constData(), &st, followLinks ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return kindOfMode(st.st_mode);
}

}  // namespace names
