// No watch on Windows.
#include "names/DirectoryWatchNone.inc"
