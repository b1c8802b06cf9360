#pragma once
// The class the scale benchmarks describe N times: four typed properties, four methods
// with two named inputs, a constructor and one untyped property (ten members).
#include <string>

#include "plugin/hand_written.hpp"

namespace bench {

inline constexpr int kMembersPerScaleClass = 10;

inline std::string scaleClassName(int index) { return "bench.C" + std::to_string(index); }

/// Describes class number `index` with the library's records and publishes it.
BENCH_PLUGIN_API void describeAndPublishScaleClass(int index);

}  // namespace bench
