#pragma once

#include <atomic>

#include "host/reference/counters.hpp"

namespace orrery::reference::detail {

// The live counts as the host keeps them: atomic, since host objects are made and
// freed on whatever thread the client uses.
using Counters = LiveCountsOf<std::atomic<long>>;
Counters& counters();

void recordInvalidTypeReport(const COSId& propertyName, const COSId& typeId);

}  // namespace orrery::reference::detail
