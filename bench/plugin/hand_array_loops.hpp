#pragma once

#include <functional>

#include "host/array.hpp"
#include "host/interface_ptr.hpp"
#include "plugin/hand_written.hpp"

// Element-wise comparison of two object arrays of the same shape as a plugin would
// write it by hand: the same host calls as the library's, in one plain loop.
namespace bench {

using HandPredicate = std::function<bool(const orrery::COSInterface*, const orrery::COSInterface*)>;

BENCH_PLUGIN_API matrix::ArrayPtr handArrayComparison(const hxArray* left, const hxArray* right,
                                                      const HandPredicate& predicate);
BENCH_PLUGIN_API bool handIsequal(const hxArray* left, const hxArray* right, const HandPredicate& predicate);

}  // namespace bench
