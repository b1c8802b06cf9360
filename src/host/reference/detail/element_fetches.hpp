#pragma once

#include <cstddef>

#include "host/array.hpp"

namespace orrery::reference::detail {

// Tells the active ElementFetchRecorder, if any, of one array::getElement call.
void recordElementFetch(const hxArray* array, std::size_t index);

}  // namespace orrery::reference::detail
