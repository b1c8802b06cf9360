#include <cstdlib>

#include "host/enumeration.hpp"
#include "host/reference/counters.hpp"
#include "host/reference/reference_host.hpp"

namespace orrery::reference {
namespace detail {
Counters& counters() {
    static Counters c;
    return c;
}
}  // namespace detail

LiveCounts liveCounts() {
    auto& c = detail::counters();
    LiveCounts out;
    out.classInfos = c.classInfos;
    out.methodInfos = c.methodInfos;
    out.namespaceInfos = c.namespaceInfos;
    out.propInfos = c.propInfos;
    out.classes = c.classes;
    out.signatures = c.signatures;
    out.objects = c.objects;
    out.arrays = c.arrays;
    out.heapBlocks = c.heapBlocks;
    out.defaultValues = c.defaultValues;
    return out;
}

CallCounts& callCounts() {
    static CallCounts counts;
    return counts;
}
}  // namespace orrery::reference

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
