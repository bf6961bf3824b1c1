// No watch on POSIX systems other than Linux.
#include "names/DirectoryWatchNone.inc"
