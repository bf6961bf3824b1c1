// The allocator of the GNU C library: large blocks from the heap rather than mapped one by one, and the
// heap's top never given back by itself.
#include "names/FreedMemory.h"

#include <cstdint>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace names {

#if defined(__GLIBC__)
namespace {
uintptr_t s_inHeap = 0;  // an address in the heap, at or below every block the heap hands out later
}
#endif

void keepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, -1);
    // A small block comes from a free place in the heap or from the start of its free top, which is
    // where a young program's first large block begins too.
    void* probe = std::malloc(1);
    s_inHeap = reinterpret_cast<uintptr_t>(probe);
    std::free(probe);
#endif
}

void roomForLargeBlocks(size_t bytes)
{
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    if (s_inHeap == 0)
        return;
    // The heap grows to hold the block untouched, and keeps it when it is given back. From where the block
    // began to the heap's end, pages are marked for large pages: those not yet touched come as such, those
    // in use stay as they are until the system merges them. Only inside the heap, which may lie elsewhere
    // (another allocator, or no room for the heap to grow).
    void* block = std::malloc(bytes);
    if (!block)
        return;
    const auto start = reinterpret_cast<uintptr_t>(block);
    std::free(block);
    constexpr uintptr_t kHuge = uintptr_t(2) << 20;
    const auto top = reinterpret_cast<uintptr_t>(sbrk(0));
    if (start < s_inHeap || top < start + bytes)
        return;
    const uintptr_t from = (start + kHuge - 1) & ~(kHuge - 1);
    if (top > from + kHuge)
        madvise(reinterpret_cast<void*>(from), (top - from) & ~(kHuge - 1), MADV_HUGEPAGE);
#else
    (void)bytes;
#endif
}

}  // namespace names
