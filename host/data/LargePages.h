#pragma once
// Private to host/data: not installed.
// An allocator for the in-memory dataset's columns and index tables. A block
// of a few megabytes or more is asked of the kernel in huge pages: a search
// at a million rows then touches a few cells far apart without a page-table
// walk for each, which on a virtual machine costs as much as the cell.
// Smaller blocks come from the ordinary heap. The environment variable
// VESKAR_LARGE_PAGES=0 turns huge pages off. Code in LargePages.cpp.

#include <cstddef>
#include <new>

namespace host {

void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* block, std::size_t bytes) noexcept;

template <class T>
struct TLargePageAllocator {
    using value_type = T;
    TLargePageAllocator() = default;
    template <class U>
    TLargePageAllocator(const TLargePageAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(AllocateLarge(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { FreeLarge(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const TLargePageAllocator<U>&) const noexcept { return true; }
};

} // namespace host
