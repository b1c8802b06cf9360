#include <new>

#include "host/enumeration.hpp"
#include "host/reference/detail/counters.hpp"

// The host heap, where enumeration bodies live.
void* utMalloc(std::size_t bytes) {
    // The global operator new, so that allocation-failure tests reach the host heap too.
    void* block = ::operator new(bytes ? bytes : 1, std::nothrow);
    if (block) ++orrery::reference::detail::counters().heapBlocks;
    return block;
}

void utFree(void* block) noexcept {
    if (!block) return;
    --orrery::reference::detail::counters().heapBlocks;
    ::operator delete(block);
}
