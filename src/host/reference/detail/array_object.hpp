#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "host/array.hpp"

namespace orrery::reference::detail {

// The host-declared array fields are filled here and nowhere else.
class ArrayObject final : public hxArray_tag {
public:
    ArrayObject(const std::vector<std::uint64_t>& extents, hxClassID classID, hxComplexity complexity,
                bool deferExtents);
    ~ArrayObject();

    static ArrayObject& of(hxArray* array) noexcept { return static_cast<ArrayObject&>(*array); }

    void completeExtents();
    // Keeps the element count; std::invalid_argument otherwise.
    void reshape(const std::vector<std::uint64_t>& extents);
    // Gives back one share; true when the caller held the last one.
    bool releaseShare() noexcept;

    // A default value handed out by a data type stays outstanding until it is released
    // through the data type or, failing that, until the array itself is freed: a record
    // that outlives the host can no longer find the type to give its default back to.
    void markOutstandingDefault() noexcept;
    // True when the array was an outstanding default (and now no longer is).
    bool releaseDefault() noexcept;

private:
    std::atomic<bool> outstandingDefault_{false};
};

}  // namespace orrery::reference::detail
