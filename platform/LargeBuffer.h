// Memory for lists of megabytes that are filled once: a model file read whole
// and the vertex lists built from it. Such blocks come straight from the
// system, aligned to and advised for 2 MiB pages where the kernel offers
// them: touching 8 MiB in 4 KiB pages costs milliseconds of page faults, in
// large pages a fraction of one. They are address space without a promise of
// memory behind it (pages are given when first written), so a list may be
// reserved for the most a file could hold at no cost. Smaller blocks use the
// ordinary heap.
//
// LargeVector<T> is a std::vector on such memory whose resize leaves new
// elements of trivial types unwritten, for callers that fill them at once.
#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace vorn::platform {

// Throws std::bad_alloc when the system has no memory to give.
void* allocateLarge(std::size_t bytes);
// Returns a block of allocateLarge; bytes as asked for.
void releaseLarge(void* block, std::size_t bytes);

template <class T>
struct LargeAllocator {
    using value_type = T;

    LargeAllocator() = default;
    template <class U>
    LargeAllocator(const LargeAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(allocateLarge(n * sizeof(T)));
    }
    void deallocate(T* block, std::size_t n) noexcept { releaseLarge(block, n * sizeof(T)); }

    // Default-initialisation: no zero-fill for trivial types.
    template <class U>
    void construct(U* at) noexcept(noexcept(::new (static_cast<void*>(at)) U)) {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const LargeAllocator<U>&) const noexcept {
        return true;
    }
};

template <class T>
using LargeVector = std::vector<T, LargeAllocator<T>>;

}  // namespace vorn::platform
