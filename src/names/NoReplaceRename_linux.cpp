// The no-replace rename of Linux (renameat2).
#include "names/NoReplaceRename.h"

#include <cerrno>

#include <stdio.h>
#include <sys/syscall.h>
#include <unistd.h>
#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace names {

int noReplaceRename(int dirFd, const char* from, const char* to)
{
#ifdef SYS_renameat2
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

}  // namespace names
