#include "platform/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>

namespace vorn::platform {

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;
// Below this the heap's own pages serve as well.
constexpr std::size_t kFromSystem = std::size_t(1) << 20;

std::size_t roundedUp(std::size_t bytes) { return (bytes + kLargePage - 1) & ~(kLargePage - 1); }

}  // namespace

void* allocateLarge(std::size_t bytes) {
    if (bytes < kFromSystem) return ::operator new(bytes);
    if (bytes > std::size_t(1) << 46) throw std::bad_alloc();
    // Map one large page more than needed, then cut the mapping down to the
    // aligned part so that it can be backed by whole large pages.
    const std::size_t size = roundedUp(bytes);
    void* mapped = ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kLargePage - 1) & ~std::uintptr_t(kLargePage - 1);
    if (aligned > start) ::munmap(mapped, aligned - start);
    const std::size_t tail = (start + size + kLargePage) - (aligned + size);
    if (tail) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void releaseLarge(void* block, std::size_t bytes) {
    if (!block) return;
    if (bytes < kFromSystem) {
        ::operator delete(block);
        return;
    }
    ::munmap(block, roundedUp(bytes));
}

}  // namespace vorn::platform
