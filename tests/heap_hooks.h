#pragma once

// Replaces the global operator new and delete of the test program whose one source file
// includes this header: every allocation is counted, so a run can show that it allocates
// nothing once set up, and allocations above a set size fail as they would when memory runs
// out. The replacements pair malloc with free, which the compiler cannot see through.

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace sordanel::testing {

inline std::atomic<long> heapAllocations{0};
inline std::atomic<std::size_t> refuseAllocationsAbove{SIZE_MAX};

}  // namespace sordanel::testing

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    sordanel::testing::heapAllocations++;
    if (size > sordanel::testing::refuseAllocationsAbove) {
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
