#pragma once

// The host array API: hxArray and the array functions the library calls.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"

enum hxClassID : int {
    hxUNKNOWN_CLASS = 0,
    hxCELL_CLASS = 1,
    hxSTRUCT_CLASS = 2,
    hxLOGICAL_CLASS = 3,
    hxCHAR_CLASS = 4,
    hxVOID_CLASS = 5,
    hxDOUBLE_CLASS = 6,
    hxOBJECT_CLASS = 7,  // elements are orrery::COSInterfacePtr
    hxSTRING_CLASS = 8,  // elements are Korvane::String::StringElementPtr (host/string.hpp)
};

enum hxComplexity : int { hxREAL = 0, hxCOMPLEX = 1 };

enum hxErrorMessage : int { hxSizeMismatch = 10 };

using hxLogical = bool;
using hxChar = char16_t;

// A host array. Its fields belong to the host, which makes and frees every array and
// fills the fields from its own derived type; callers read them through the inline
// accessors. Extents may be deferred: the array then says so, and
// _complete_opaque_dimensions() must run before they are read.
struct hxArray_tag {
    hxClassID classID() const noexcept { return classID_; }
    hxComplexity complexity() const noexcept { return complexity_; }
    bool hasOpaqueDimensions() const noexcept { return opaqueDims_; }
    std::size_t numberOfDimensions() const noexcept { return dims_.size(); }
    const std::uint64_t* dimensions() const noexcept { return dims_.data(); }
    std::size_t numberOfElements() const noexcept { return count_; }
    void* data() const noexcept { return data_; }
    // Owners beyond the first; the deleter gives one back while there are any. Atomic:
    // values may be shared between threads.
    int shareCount() const noexcept { return shares_.load(std::memory_order_acquire); }
    void addShare() noexcept { shares_.fetch_add(1, std::memory_order_relaxed); }

    ORRERY_HOST_API void _complete_opaque_dimensions();

    hxArray_tag(const hxArray_tag&) = delete;
    hxArray_tag& operator=(const hxArray_tag&) = delete;

protected:
    hxArray_tag() = default;
    ~hxArray_tag() = default;

    hxClassID classID_ = hxUNKNOWN_CLASS;
    hxComplexity complexity_ = hxREAL;
    bool opaqueDims_ = false;
    std::atomic<int> shares_{0};
    std::vector<std::uint64_t> dims_;
    std::vector<std::uint64_t> deferredDims_;
    std::size_t count_ = 0;
    void* data_ = nullptr;
};
using hxArray = hxArray_tag;

namespace matrix {
ORRERY_HOST_API void destroyArray(hxArray_tag* array) noexcept;

namespace detail {
struct hxDestroy_deleter {
    // Gives back one share of a shared array, frees an unshared one.
    ORRERY_HOST_API void operator()(hxArray_tag* array) const noexcept;
};
ORRERY_HOST_API hxArray_tag* do_create_numeric(const std::vector<std::uint64_t>& extents, hxClassID classID,
                                               hxComplexity complexity);
}  // namespace detail

using ArrayPtr = std::unique_ptr<hxArray_tag, detail::hxDestroy_deleter>;
}  // namespace matrix

ORRERY_HOST_API bool hxIsScalar(const hxArray* array) noexcept;
ORRERY_HOST_API hxLogical* hxGetLogicals(hxArray* array) noexcept;
// Raises the host error for the message; never returns.
[[noreturn]] ORRERY_HOST_API void hxErrMsg(hxErrorMessage message);

namespace array {
enum DeletedHandleBehavior : int { ReturnDeletedHandle = 0, ErrorOnDeletedHandle = 1 };

// The object at a linear index of an object array. An object that has been deleted
// still has an identity that handles can compare; ReturnDeletedHandle hands it out like
// any other, ErrorOnDeletedHandle raises the host error "orrery:object:DeletedHandle".
ORRERY_HOST_API orrery::COSInterfacePtr getElement(const hxArray_tag* array, std::size_t index,
                                                   DeletedHandleBehavior behavior);
// Reshapes in place; the element count must not change.
ORRERY_HOST_API void resize(matrix::ArrayPtr& array, std::size_t numberOfDimensions, const std::uint64_t* extents);
}  // namespace array
