#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/host_export.hpp"
#include "host/string.hpp"
#include "host/value.hpp"

namespace orrery::reference {

// The reference host's string arrays hold one Korvane::String::StringElementPtr per
// element in their own storage; Korvane::String::getString hands out a view of it.

// Arrays of any shape, with missing strings, for tests of the edge cases; everyday values
// come from convenience/values.hpp.

// A string array of any shape, its strings in linear element order; nullopt is a
// missing string. One string per element (std::invalid_argument otherwise).
ORRERY_HOST_API COSValue makeStringArray(const std::vector<std::uint64_t>& extents,
                                         const std::vector<std::optional<std::u16string>>& strings);
// A char array of any shape holding the UTF-16 code units in linear element order; one
// unit per element (std::invalid_argument otherwise).
ORRERY_HOST_API COSValue makeCharArray(const std::vector<std::uint64_t>& extents, const std::u16string& units);

}  // namespace orrery::reference
