// The allocator of the GNU C library: large blocks from the heap rather than mapped one by one, and the
// heap's top never given back by itself.
#include "names/FreedMemory.h"

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace names {

void keepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, -1);
#endif
}

}  // namespace names
