#include "convenience/array_comparison.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "util/array_dimensions.hpp"

namespace orrery::convenience {
namespace {

using ArrayPtr = std::unique_ptr<hxArray_tag, matrix::detail::hxDestroy_deleter>;

// The object paired with the iterated array's element at a linear index.
using ElementAccessor = std::function<COSInterface*(std::uint64_t)>;

// The fetched handle goes before the pointer is used: the array keeps the object alive.
COSInterface* elementAt(const hxArray_tag* array, std::uint64_t index) {
    return array::getElement(array, index, array::ReturnDeletedHandle);
}

ArrayPtr compareElements(const ElementPredicate& predicate, const hxArray_tag* iterated, ElementAccessor accessor) {
    ArrayPtr result(matrix::detail::do_create_numeric(detail::dimensionVector(iterated), hxLOGICAL_CLASS, hxREAL));
    const std::uint64_t count = detail::elementCount(iterated);
    hxLogical* results = hxGetLogicals(result.get());
    for (std::uint64_t i = 0; i < count; ++i) {
        COSInterface* paired = accessor(i);
        results[i] = predicate(paired, elementAt(iterated, i));
    }
    return result;
}

void requireOperands(const hxArray_tag* left, const hxArray_tag* right, const char* operation) {
    if (!left || !right) throw std::invalid_argument(std::string(operation) + " needs two arrays, got null");
}

}  // namespace

ArrayPtr arrayComparison(const hxArray_tag* left, const hxArray_tag* right, ElementPredicate predicate) {
    requireOperands(left, right, "arrayComparison");
    if (hxIsScalar(left)) {
        const COSInterfacePtr scalar = array::getElement(left, 0, array::ReturnDeletedHandle);
        return compareElements(predicate, right, [scalar](std::uint64_t) -> COSInterface* { return scalar; });
    }
    if (hxIsScalar(right)) {
        const COSInterfacePtr scalar = array::getElement(right, 0, array::ReturnDeletedHandle);
        return compareElements(predicate, left, [scalar](std::uint64_t) -> COSInterface* { return scalar; });
    }
    if (!detail::sameDimensions(left, right)) hxErrMsg(hxSizeMismatch);
    return compareElements(predicate, right, [left](std::uint64_t i) { return elementAt(left, i); });
}

bool isequal(const hxArray_tag* left, const hxArray_tag* right, ElementPredicate predicate) {
    requireOperands(left, right, "isequal");
    if (!detail::sameDimensions(left, right)) return false;
    const std::uint64_t count = detail::elementCount(left);
    for (std::uint64_t i = 0; i < count; ++i) {
        COSInterface* leftElement = elementAt(left, i);
        COSInterface* rightElement = elementAt(right, i);
        if (!predicate(leftElement, rightElement)) return false;
    }
    return true;
}

ArrayPtr reshapeToColumn(ArrayPtr&& array) {
    if (!array) throw std::invalid_argument("reshapeToColumn needs an array, got an empty handle");
    const std::uint64_t extents[2] = {detail::elementCount(array.get()), 1};
    array::resize(array, 2, extents);
    return std::move(array);
}

}  // namespace orrery::convenience
