// The Windows heap keeps freed blocks for reuse by itself and gives back what it no longer needs.
#include "names/FreedMemory.h"

#include <windows.h>

namespace names {

void keepFreedMemory() {}

void* mapPages(size_t bytes)
{
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void releasePages(void* pages, size_t)
{
    VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace names
