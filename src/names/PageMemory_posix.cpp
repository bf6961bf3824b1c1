// Pages of their own on POSIX systems (Linux included): an anonymous private mapping.
#include "names/FreedMemory.h"

#include <sys/mman.h>

namespace names {

void* mapPages(size_t bytes)
{
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANON, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void releasePages(void* pages, size_t bytes)
{
    munmap(pages, bytes);
}

}  // namespace names
