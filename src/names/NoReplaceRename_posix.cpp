// POSIX systems other than Linux have no no-replace rename: the safe rename takes its other ways.
#include "names/NoReplaceRename.h"

#include <cerrno>

namespace names {

int noReplaceRename(int, const char*, const char*)
{
    return ENOSYS;
}

}  // namespace names
