#include "names/JournalStore.h"

#include <io.h>

namespace names::journalstore {

void syncJournalFile(int fd)
{
    ::_commit(fd);
}

void syncJournalFolder(const QString&)
{
    // The file system commits directory changes with the file.
}

}  // namespace names::journalstore
