#include <cstdlib>

#include "host/enumeration.hpp"
#include "host/reference/detail/counters.hpp"

// The host heap, where enumeration bodies live.
void* utMalloc(std::size_t bytes) {
    void* block = std::malloc(bytes ? bytes : 1);
    if (block) ++orrery::reference::detail::counters().heapBlocks;
    return block;
}

void utFree(void* block) noexcept {
    if (!block) return;
    --orrery::reference::detail::counters().heapBlocks;
    std::free(block);
}
