#include "failing_allocation.h"
#include <new>

int g_failingAllocations = 0;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (g_failingAllocations > 0) {
        --g_failingAllocations;
        return nullptr;
    }
    try {
        return ::operator new(size);  // freed by the plain delete, as the core does
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
