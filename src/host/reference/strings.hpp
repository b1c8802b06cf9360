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

// A 1-by-1 string array holding the text.
ORRERY_HOST_API COSValue makeString(const std::u16string& text);
// A string array of any shape, its strings in linear element order; nullopt is a
// missing string. One string per element (std::invalid_argument otherwise).
ORRERY_HOST_API COSValue makeStrings(const std::vector<std::uint64_t>& extents,
                                     const std::vector<std::optional<std::u16string>>& strings);
// A char array of any shape holding the UTF-16 code units in linear element order; one
// unit per element (std::invalid_argument otherwise).
ORRERY_HOST_API COSValue makeCharArray(const std::vector<std::uint64_t>& extents, const std::u16string& units);

}  // namespace orrery::reference
