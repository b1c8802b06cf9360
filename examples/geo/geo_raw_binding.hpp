#pragma once

// geo described with the records alone (geo_raw_binding.cpp), for comparison with the typed
// binding: the host sees the same namespace.

#include <memory>

#include "convenience/namespace_info_struct.hpp"

namespace geo {

std::shared_ptr<orrery::convenience::COSNamespaceInfoStruct> defineGeoRaw();

}  // namespace geo
