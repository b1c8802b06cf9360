#pragma once

#include <atomic>

namespace orrery::reference::detail {

struct Counters {
    std::atomic<long> classInfos{0}, methodInfos{0}, namespaceInfos{0}, propInfos{0}, classes{0}, signatures{0},
        objects{0}, arrays{0}, heapBlocks{0}, defaultValues{0};
};
Counters& counters();

}  // namespace orrery::reference::detail
