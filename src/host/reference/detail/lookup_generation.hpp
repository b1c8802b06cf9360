#pragma once

#include <atomic>
#include <cstdint>

namespace orrery::reference::detail {

// Member lookups through superclasses are remembered until the answer could change: a
// class object made, changed or freed, or a class or namespace registered. Each of those
// counts here, and a lookup remembered at another count is done again.
std::atomic<std::uint64_t>& lookupGeneration();
inline void classesChanged() noexcept { lookupGeneration().fetch_add(1, std::memory_order_acq_rel); }

}  // namespace orrery::reference::detail
