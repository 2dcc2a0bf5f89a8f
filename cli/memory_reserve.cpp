#include "cli/memory_reserve.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace sordanel {

namespace {

// Enough for the exception and the message that tells of it; given back to the allocator, which
// takes them from it.
constexpr std::size_t kReserveBytes = 64 * 1024;
std::atomic<void*> reserve{nullptr};

void ReleaseReserveOrFail() {
    void* spare = reserve.exchange(nullptr);
    if (spare == nullptr) {
        throw std::bad_alloc();
    }
    std::free(spare);
}

}  // namespace

bool ReserveMemoryForFailures() {
    void* spare = std::malloc(kReserveBytes);
    if (spare == nullptr) {
        return false;
    }
    // Touch it, so the pages are really there to give back.
    static_cast<volatile char*>(spare)[0] = 0;
    reserve.store(spare);
    std::set_new_handler(ReleaseReserveOrFail);
    return true;
}

}  // namespace sordanel
