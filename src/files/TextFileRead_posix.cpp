#include "files/TextFile.h"

#include <QFile>
#include <QScopeGuard>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

ReadStatus readRegularFile(const QString& path, qint64 limit, QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    if (::stat(name.constData(), &before) != 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
    // Opening a pipe waits for a writer and opening a device may act on it: look before opening.
    if (!S_ISREG(before.st_mode))
        return ReadStatus::NotRegular;
    if (before.st_size > limit)
        return ReadStatus::TooLarge;

    // Without waiting, and checked again on the open file, in case the path was switched meanwhile.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        return ReadStatus::Unreadable;
    if (!S_ISREG(opened.st_mode))
        return ReadStatus::NotRegular;
    if (opened.st_size > limit)
        return ReadStatus::TooLarge;

    // The size is only a hint (files under /proc tell 0, a file may grow while read): the bound is on what is read.
    bytes.reserve(qsizetype(opened.st_size));
    std::array<char, 64 * 1024> chunk;
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return ReadStatus::Unreadable;
        if (got == 0)
            break;
        if (bytes.size() + got > limit)
            return ReadStatus::TooLarge;
        bytes.append(chunk.data(), got);
    }
    return ReadStatus::Ok;
}

}  // namespace files
