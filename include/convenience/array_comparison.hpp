#pragma once

#include <functional>
#include <memory>

#include "convenience/export.hpp"
#include "host/array.hpp"
#include "host/interface_ptr.hpp"

namespace orrery::convenience {

// Compares two host objects; it borrows them for the call only.
using ElementPredicate = std::function<bool(const COSInterface*, const COSInterface*)>;

// The predicate on each pair of elements of two object arrays, as a new logical array
// (owned by the caller) shaped like the array that is iterated. A scalar operand pairs
// its one element with every element of the other: a scalar left gives (left, right i)
// and a result shaped like right; a scalar right (with left not scalar) gives
// (right, left i), in that order, and a result shaped like left. Otherwise the
// dimensions must match (the host's size-mismatch error, raised before anything is
// made or called) and the pairs are (left i, right i).
ORRERY_CONVENIENCE_API std::unique_ptr<hxArray_tag, matrix::detail::hxDestroy_deleter> arrayComparison(
    const hxArray_tag* left, const hxArray_tag* right, ElementPredicate predicate);

// Whether both arrays have the same dimensions and the predicate holds for every pair
// (left i, right i). No scalar expansion; stops at the first pair that fails.
ORRERY_CONVENIENCE_API bool isequal(const hxArray_tag* left, const hxArray_tag* right, ElementPredicate predicate);

// Reshapes the array in place into an n-by-1 column of its n elements and hands the
// same array back; the argument is left empty.
ORRERY_CONVENIENCE_API std::unique_ptr<hxArray_tag, matrix::detail::hxDestroy_deleter> reshapeToColumn(
    std::unique_ptr<hxArray_tag, matrix::detail::hxDestroy_deleter>&& array);

}  // namespace orrery::convenience
