#include "names/JournalStore.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace names::journalstore {

void syncJournalFile(int fd)
{
    ::fsync(fd);
}

void syncJournalFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace names::journalstore
