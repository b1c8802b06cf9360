#pragma once

#include <algorithm>
#include <cstdint>

#include "host/array.hpp"

namespace orrery::convenience::values::detail {

// A row, a column, a scalar or empty: at most one extent other than one. The host may
// defer the extents; they are completed first.
inline bool isVectorShaped(hxArray& array) {
    if (array.numberOfElements() == 0) return true;
    if (array.hasOpaqueDimensions()) array._complete_opaque_dimensions();
    const std::uint64_t* extents = array.dimensions();
    const auto nonSingleton =
        std::count_if(extents, extents + array.numberOfDimensions(), [](std::uint64_t extent) { return extent != 1; });
    return nonSingleton <= 1;
}

}  // namespace orrery::convenience::values::detail
