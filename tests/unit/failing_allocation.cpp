#include "failing_allocation.h"
#include <cstdlib>
#include <new>
#include "platform/sim/sim_system_call.h"

void* operator new(std::size_t size) {
    if (g_simSystemCalls == 0 && g_allocationsBeforeFailure > 0 && --g_allocationsBeforeFailure == 0)
        throw std::bad_alloc();
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

// Replaced as well, although libstdc++'s calls the plain one: AddressSanitizer's
// runtime brings a nothrow new of its own, which never fails and whose blocks
// the free above does not match.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);  // freed by the plain delete, as the core does
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
