#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/array.hpp"

namespace orrery::convenience::detail {

// The extents of a host array, completing deferred ones first. Completing them changes
// nothing that the array reports, so it is allowed on a const array.
inline const std::uint64_t* extentsOf(const hxArray_tag* array) {
    if (array->hasOpaqueDimensions()) const_cast<hxArray_tag*>(array)->_complete_opaque_dimensions();
    return array->dimensions();
}

inline std::vector<std::uint64_t> dimensionVector(const hxArray_tag* array) {
    const std::uint64_t* extents = extentsOf(array);
    return std::vector<std::uint64_t>(extents, extents + array->numberOfDimensions());
}

// The product of the extents; 1 for none.
inline std::uint64_t elementCount(const hxArray_tag* array) {
    const std::uint64_t* extents = extentsOf(array);
    std::uint64_t count = 1;
    for (std::size_t i = 0; i < array->numberOfDimensions(); ++i) count *= extents[i];
    return count;
}

// Same number of dimensions and the same extents, dimension by dimension.
inline bool sameDimensions(const hxArray_tag* left, const hxArray_tag* right) {
    const std::uint64_t* leftExtents = extentsOf(left);
    const std::uint64_t* rightExtents = extentsOf(right);
    if (left->numberOfDimensions() != right->numberOfDimensions()) return false;
    for (std::size_t i = 0; i < left->numberOfDimensions(); ++i)
        if (leftExtents[i] != rightExtents[i]) return false;
    return true;
}

}  // namespace orrery::convenience::detail
