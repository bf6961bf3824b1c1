#pragma once
// How the program's memory allocator deals with memory the program frees.
#include <cstddef>
#include <new>

namespace names {

// Keeps freed memory for the program's own next allocations instead of handing it back to the system at
// once. With a million names every tool command frees and allocates texts of tens of megabytes, and
// memory the system hands out afresh is zeroed page by page at its first touch, which cost more than the
// command's own work. Called first in main(); does nothing where the allocator has no such setting.
void keepFreedMemory();

// Makes the heap ready for blocks of about `bytes` in all, without touching them: the memory is taken
// from the system in large pages where it can be, so that a first touch of tens of megabytes costs a
// few dozen page faults rather than thousands. Memory never touched costs nothing, but a large page
// touched in part is there whole: for work of tens of megabytes. Does nothing before keepFreedMemory().
void roomForLargeBlocks(size_t bytes);

// Memory of its own from the system, given back whole by releasePages: for blocks that live a short while
// beside others that stay, which would leave holes in the heap. Null when none could be had.
void* mapPages(size_t bytes);
void releasePages(void* pages, size_t bytes);

// An allocator of such memory for the standard containers.
template <typename T>
struct PageAllocator {
    using value_type = T;
    PageAllocator() = default;
    template <typename U>
    PageAllocator(const PageAllocator<U>&) {}
    T* allocate(size_t n)
    {
        if (void* p = mapPages(n * sizeof(T)))
            return static_cast<T*>(p);
        throw std::bad_alloc();
    }
    void deallocate(T* p, size_t n) { releasePages(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const PageAllocator<U>&) const { return true; }
};

}  // namespace names
