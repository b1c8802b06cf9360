#include <cstdlib>
#include <functional>
#include <new>
#include <numeric>
#include <stdexcept>

#include "host/array.hpp"
#include "host/exception.hpp"
#include "host/reference/counters.hpp"
#include "host/reference/objects.hpp"

namespace hx {
struct SizeMismatch;
}

namespace orrery::reference {
namespace {
std::size_t elementSize(hxClassID classID, hxComplexity complexity) {
    switch (classID) {
        case hxLOGICAL_CLASS: return sizeof(hxLogical);
        case hxCHAR_CLASS: return sizeof(hxChar);
        case hxDOUBLE_CLASS: return complexity == hxCOMPLEX ? 2 * sizeof(double) : sizeof(double);
        case hxOBJECT_CLASS: return sizeof(COSInterfacePtr);
        default: throw std::invalid_argument("the reference host makes logical, char, double and object arrays");
    }
}

std::uint64_t product(const std::vector<std::uint64_t>& extents) {
    return std::accumulate(extents.begin(), extents.end(), std::uint64_t{1}, std::multiplies<>());
}
}  // namespace

hxArray* ArrayFactory::create(const std::vector<std::uint64_t>& extents, hxClassID classID, hxComplexity complexity,
                              bool deferDimensions) {
    std::size_t bytes = elementSize(classID, complexity);
    std::size_t count = product(extents);
    auto* array = new hxArray_tag();
    array->classID_ = classID;
    array->complexity_ = complexity;
    array->count_ = count;
    if (deferDimensions) {
        array->opaqueDims_ = true;
        array->deferredDims_ = extents;
    } else {
        array->dims_ = extents;
    }
    array->data_ = std::calloc(count ? count : 1, bytes);
    if (!array->data_) {
        delete array;
        throw std::bad_alloc();
    }
    if (classID == hxOBJECT_CLASS) {
        auto* items = static_cast<COSInterfacePtr*>(array->data_);
        for (std::size_t i = 0; i < count; ++i) new (items + i) COSInterfacePtr();
    }
    ++detail::counters().arrays;
    return array;
}

void ArrayFactory::destroy(hxArray* array) noexcept {
    if (!array) return;
    if (array->classID_ == hxOBJECT_CLASS) {
        auto* items = static_cast<COSInterfacePtr*>(array->data_);
        for (std::size_t i = 0; i < array->count_; ++i) items[i].~COSInterfacePtr();
    }
    std::free(array->data_);
    delete array;
    --detail::counters().arrays;
}

void ArrayFactory::reshape(hxArray* array, const std::vector<std::uint64_t>& extents) {
    complete(array);
    if (product(extents) != array->count_) throw std::invalid_argument("a reshape must keep the element count");
    array->dims_ = extents;
}

void ArrayFactory::dropShare(hxArray* array) noexcept { --array->shares_; }

void ArrayFactory::complete(hxArray* array) {
    if (!array->opaqueDims_) return;
    array->dims_ = std::move(array->deferredDims_);
    array->deferredDims_.clear();
    array->opaqueDims_ = false;
}

}  // namespace orrery::reference

void hxArray_tag::_complete_opaque_dimensions() { orrery::reference::ArrayFactory::complete(this); }

namespace matrix {
void destroyArray(hxArray_tag* array) noexcept { orrery::reference::ArrayFactory::destroy(array); }

namespace detail {
void hxDestroy_deleter::operator()(hxArray_tag* array) const noexcept {
    if (!array) return;
    if (array->shareCount() > 0)
        orrery::reference::ArrayFactory::dropShare(array);
    else
        destroyArray(array);
}

hxArray_tag* do_create_numeric(const std::vector<std::uint64_t>& extents, hxClassID classID, hxComplexity complexity) {
    return orrery::reference::ArrayFactory::create(extents, classID, complexity);
}
}  // namespace detail
}  // namespace matrix

bool hxIsScalar(const hxArray* array) noexcept { return array && array->numberOfElements() == 1; }

hxLogical* hxGetLogicals(hxArray* array) noexcept {
    return array && array->classID() == hxLOGICAL_CLASS ? static_cast<hxLogical*>(array->data()) : nullptr;
}

void hxErrMsg(hxErrorMessage message) {
    using foundation::core::except::Exception;
    using foundation::core::except::Message;
    if (message == hxSizeMismatch) throw Exception<hx::SizeMismatch>(Message{{}, "orrery:array", "SizeMismatch"});
    throw Exception<hxErrorMessage>(Message{{std::int64_t{message}}, "orrery:array", "Unknown"});
}

namespace array {
orrery::COSInterfacePtr getElement(const hxArray_tag* array, std::size_t index, DeletedHandleBehavior) {
    if (!array || array->classID() != hxOBJECT_CLASS) throw std::invalid_argument("getElement needs an object array");
    if (index >= array->numberOfElements()) throw std::out_of_range("getElement index past the last element");
    return static_cast<const orrery::COSInterfacePtr*>(array->data())[index];
}

void resize(matrix::ArrayPtr& array, std::size_t numberOfDimensions, const std::uint64_t* extents) {
    orrery::reference::ArrayFactory::reshape(array.get(),
                                             std::vector<std::uint64_t>(extents, extents + numberOfDimensions));
}
}  // namespace array
