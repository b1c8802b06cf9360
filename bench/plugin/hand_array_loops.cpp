#include "plugin/hand_array_loops.hpp"

#include <cstdint>
#include <vector>

namespace bench {
namespace {

std::vector<std::uint64_t> dimensionsOf(const hxArray* array) {
    return std::vector<std::uint64_t>(array->dimensions(), array->dimensions() + array->numberOfDimensions());
}

}  // namespace

matrix::ArrayPtr handArrayComparison(const hxArray* left, const hxArray* right, const HandPredicate& predicate) {
    if (dimensionsOf(left) != dimensionsOf(right)) hxErrMsg(hxSizeMismatch);
    matrix::ArrayPtr result(matrix::detail::do_create_numeric(dimensionsOf(right), hxLOGICAL_CLASS, hxREAL));
    hxLogical* out = hxGetLogicals(result.get());
    const std::size_t count = right->numberOfElements();
    for (std::size_t i = 0; i < count; ++i) {
        orrery::COSInterface* a = array::getElement(left, i, array::ReturnDeletedHandle);
        orrery::COSInterface* b = array::getElement(right, i, array::ReturnDeletedHandle);
        out[i] = predicate(a, b);
    }
    return result;
}

bool handIsequal(const hxArray* left, const hxArray* right, const HandPredicate& predicate) {
    if (dimensionsOf(left) != dimensionsOf(right)) return false;
    const std::size_t count = left->numberOfElements();
    for (std::size_t i = 0; i < count; ++i) {
        orrery::COSInterface* a = array::getElement(left, i, array::ReturnDeletedHandle);
        orrery::COSInterface* b = array::getElement(right, i, array::ReturnDeletedHandle);
        if (!predicate(a, b)) return false;
    }
    return true;
}

}  // namespace bench
