// The allocator of the GNU C library: large blocks from the heap rather than mapped one by one, and the
// heap's top never given back by itself.
#include "names/FreedMemory.h"

#include <sys/mman.h>

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

void* mapPages(size_t bytes)
{
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void releasePages(void* pages, size_t bytes)
{
    munmap(pages, bytes);
}

}  // namespace names
