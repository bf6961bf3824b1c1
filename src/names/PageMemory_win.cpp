// Pages of their own on Windows: reserved and committed at once, released whole.
#include "names/FreedMemory.h"

#include <windows.h>

namespace names {

void* mapPages(size_t bytes)
{
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void releasePages(void* pages, size_t)
{
    VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace names
