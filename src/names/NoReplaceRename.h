#pragma once
// The one-step rename that never replaces an entry, where the kernel offers it (POSIX systems only).

namespace names {

// Renames `from` to `to`, both in the directory `dirFd`, unless `to` exists. 0 on success, else the
// errno; ENOSYS where the system has no such request.
int noReplaceRename(int dirFd, const char* from, const char* to);

}  // namespace names
