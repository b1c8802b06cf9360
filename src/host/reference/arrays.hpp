#pragma once

#include <cstdint>
#include <vector>

#include "host/array.hpp"
#include "host/host_export.hpp"

namespace orrery::reference {

// The reference host's arrays: logical, char (UTF-16 code units), double (real or
// complex) and object arrays (one COSInterfacePtr per element). Made zero-filled
// (object arrays with empty handles) and freed through the host array API.
ORRERY_HOST_API hxArray* createArray(const std::vector<std::uint64_t>& extents, hxClassID classID,
                                     hxComplexity complexity = hxREAL);
// The same array, but it reports opaque extents until _complete_opaque_dimensions().
ORRERY_HOST_API hxArray* createArrayWithDeferredExtents(const std::vector<std::uint64_t>& extents, hxClassID classID,
                                                        hxComplexity complexity = hxREAL);
// The product of the extents; 1 for none.
ORRERY_HOST_API std::uint64_t elementCount(const std::vector<std::uint64_t>& extents);

}  // namespace orrery::reference
