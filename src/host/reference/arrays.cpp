#include "host/reference/arrays.hpp"

#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <numeric>
#include <stdexcept>

#include "host/exception.hpp"
#include "host/interface_ptr.hpp"
#include "host/reference/detail/array_object.hpp"
#include "host/reference/detail/counters.hpp"
#include "host/reference/detail/element_fetches.hpp"
#include "host/reference/objects.hpp"
#include "host/string.hpp"

namespace hx {
struct SizeMismatch;
}
namespace orrery::object {
struct DeletedHandle;
}

namespace orrery::reference {
namespace {

std::size_t elementSize(hxClassID classID, hxComplexity complexity) {
    switch (classID) {
        case hxLOGICAL_CLASS: return sizeof(hxLogical);
        case hxCHAR_CLASS: return sizeof(hxChar);
        case hxDOUBLE_CLASS: return complexity == hxCOMPLEX ? 2 * sizeof(double) : sizeof(double);
        case hxOBJECT_CLASS: return sizeof(COSInterfacePtr);
        case hxSTRING_CLASS: return sizeof(Korvane::String::StringElementPtr);
        default:
            throw std::invalid_argument("the reference host makes logical, char, double, object and string arrays");
    }
}

// Object and string arrays hold owning handles, made empty with the array.
template <class Handle>
void constructHandles(void* data, std::size_t count) {
    auto* items = static_cast<Handle*>(data);
    for (std::size_t i = 0; i < count; ++i) new (items + i) Handle();
}

template <class Handle>
void destroyHandles(void* data, std::size_t count) {
    auto* items = static_cast<Handle*>(data);
    for (std::size_t i = 0; i < count; ++i) items[i].~Handle();
}

}  // namespace

std::uint64_t elementCount(const std::vector<std::uint64_t>& extents) {
    return std::accumulate(extents.begin(), extents.end(), std::uint64_t{1}, std::multiplies<>());
}

hxArray* createArray(const std::vector<std::uint64_t>& extents, hxClassID classID, hxComplexity complexity) {
    return new detail::ArrayObject(extents, classID, complexity, false);
}

hxArray* createArrayWithDeferredExtents(const std::vector<std::uint64_t>& extents, hxClassID classID,
                                        hxComplexity complexity) {
    return new detail::ArrayObject(extents, classID, complexity, true);
}

namespace detail {

ArrayObject::ArrayObject(const std::vector<std::uint64_t>& extents, hxClassID classID, hxComplexity complexity,
                         bool deferExtents) {
    const std::size_t bytes = elementSize(classID, complexity);
    classID_ = classID;
    complexity_ = complexity;
    count_ = elementCount(extents);
    (deferExtents ? deferredDims_ : dims_) = extents;
    opaqueDims_ = deferExtents;
    // The global operator new, so that allocation-failure tests reach array storage too.
    if (count_ > std::numeric_limits<std::size_t>::max() / bytes)
        throw std::length_error("the array's extents ask for more elements than memory can hold");
    const std::size_t size = (count_ ? count_ : 1) * bytes;
    data_ = ::operator new(size);
    std::memset(data_, 0, size);
    if (classID == hxOBJECT_CLASS) constructHandles<COSInterfacePtr>(data_, count_);
    if (classID == hxSTRING_CLASS) constructHandles<Korvane::String::StringElementPtr>(data_, count_);
    ++counters().arrays;
}

ArrayObject::~ArrayObject() {
    releaseDefault();
    if (classID_ == hxOBJECT_CLASS) destroyHandles<COSInterfacePtr>(data_, count_);
    if (classID_ == hxSTRING_CLASS) destroyHandles<Korvane::String::StringElementPtr>(data_, count_);
    ::operator delete(data_);
    --counters().arrays;
}

void ArrayObject::completeExtents() {
    if (!opaqueDims_) return;
    dims_ = std::move(deferredDims_);
    deferredDims_.clear();
    opaqueDims_ = false;
}

void ArrayObject::reshape(const std::vector<std::uint64_t>& extents) {
    completeExtents();
    if (elementCount(extents) != count_) throw std::invalid_argument("a reshape must keep the element count");
    dims_ = extents;
}

bool ArrayObject::releaseShare() noexcept {
    int shares = shares_.load(std::memory_order_acquire);
    while (shares > 0)
        if (shares_.compare_exchange_weak(shares, shares - 1, std::memory_order_acq_rel)) return false;
    return true;
}

void ArrayObject::markOutstandingDefault() noexcept {
    if (!outstandingDefault_.exchange(true)) ++counters().defaultValues;
}

bool ArrayObject::releaseDefault() noexcept {
    if (!outstandingDefault_.exchange(false)) return false;
    --counters().defaultValues;
    return true;
}

}  // namespace detail
}  // namespace orrery::reference

using orrery::reference::detail::ArrayObject;

void hxArray_tag::_complete_opaque_dimensions() { ArrayObject::of(this).completeExtents(); }

namespace matrix {
void destroyArray(hxArray_tag* array) noexcept { delete &ArrayObject::of(array); }

namespace detail {
void hxDestroy_deleter::operator()(hxArray_tag* array) const noexcept {
    if (array && ArrayObject::of(array).releaseShare()) destroyArray(array);
}

hxArray_tag* do_create_numeric(const std::vector<std::uint64_t>& extents, hxClassID classID, hxComplexity complexity) {
    return orrery::reference::createArray(extents, classID, complexity);
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
orrery::COSInterfacePtr getElement(const hxArray_tag* array, std::size_t index, DeletedHandleBehavior behavior) {
    orrery::reference::detail::recordElementFetch(array, index);
    if (!array || array->classID() != hxOBJECT_CLASS) throw std::invalid_argument("getElement needs an object array");
    if (index >= array->numberOfElements()) throw std::out_of_range("getElement index past the last element");
    const orrery::COSInterfacePtr& element = static_cast<const orrery::COSInterfacePtr*>(array->data())[index];
    if (behavior == ErrorOnDeletedHandle && orrery::reference::isDeleted(element)) {
        using foundation::core::except::Exception;
        using foundation::core::except::Message;
        throw Exception<orrery::object::DeletedHandle>(Message{{}, "orrery:object", "DeletedHandle"});
    }
    return element;
}

void resize(matrix::ArrayPtr& array, std::size_t numberOfDimensions, const std::uint64_t* extents) {
    ArrayObject::of(array.get()).reshape(std::vector<std::uint64_t>(extents, extents + numberOfDimensions));
}
}  // namespace array
