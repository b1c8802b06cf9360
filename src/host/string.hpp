#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "host/array.hpp"
#include "host/host_export.hpp"
#include "host/kvboost.hpp"

namespace Korvane::String {

// One string of a host string array. Arrays (on any thread) share it by count; the
// release that takes the count from 1 to 0 frees it.
struct ORRERY_HOST_API StringElement {
    explicit StringElement(std::u16string text = {});
    StringElement(const StringElement&) = delete;
    StringElement& operator=(const StringElement&) = delete;
    ~StringElement();

    std::u16string text;
    std::atomic<std::uint64_t> refCount{0};
};

inline void intrusive_ptr_add_ref(StringElement* element) noexcept {
    element->refCount.fetch_add(1, std::memory_order_relaxed);
}
inline void intrusive_ptr_release(StringElement* element) noexcept {
    if (element->refCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete element;
}

// An owning pointer to one string; null stands for a missing string.
using StringElementPtr = kvboost::intrusive_ptr<StringElement>;

// The strings of one host string array, in linear element order: the element count and
// the array's own element pointers, laid out as the string array container holds them.
// A view: valid while the array lives and is not changed.
class String {
public:
    String(const StringElementPtr* elements, std::uint64_t count) noexcept : count_(count), elements_(elements) {}

    std::uint64_t getNumberOfElements() const noexcept { return count_; }
    const StringElementPtr& operator[](std::uint64_t index) const noexcept { return elements_[index]; }
    const StringElementPtr* begin() const noexcept { return elements_; }
    const StringElementPtr* end() const noexcept { return elements_ + count_; }

private:
    std::uint64_t count_;
    const StringElementPtr* elements_;
};

// Whether the array is a host string array (false for null).
ORRERY_HOST_API bool isString(const hxArray* array) noexcept;
// The strings of a string array; std::invalid_argument for any other array.
ORRERY_HOST_API String getString(const hxArray* array);

}  // namespace Korvane::String
