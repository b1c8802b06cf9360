#pragma once

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
};

}  // namespace orrery::reference::detail
