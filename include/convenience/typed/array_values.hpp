#pragma once

// Host-neutral helpers for arrays of texts and of objects, beside values.hpp: string rows
// and object rows made and read through the host's array API and the host operations of
// host/assumed_operations.hpp.

#include <optional>
#include <string>
#include <vector>

#include "convenience/export.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

namespace orrery::convenience::typed {

/// A 1-by-n string array of the texts, given as UTF-8 or UTF-16.
ORRERY_CONVENIENCE_API COSValue makeStrings(const std::vector<std::string>& utf8);
ORRERY_CONVENIENCE_API COSValue makeStrings(const std::vector<std::u16string>& utf16);
/// The texts of a string array shaped as a vector (1-by-n, n-by-1 or empty), in order;
/// nothing for other values and when a string is missing.
ORRERY_CONVENIENCE_API std::optional<std::vector<std::string>> readStrings(const COSValue& value);
ORRERY_CONVENIENCE_API std::optional<std::vector<std::u16string>> readStrings16(const COSValue& value);
/// The objects of an object array shaped as a vector, in order, without taking shares:
/// valid while the value lives. Nothing for other values.
ORRERY_CONVENIENCE_API std::optional<std::vector<COSInterface*>> peekObjects(const COSValue& value);

}  // namespace orrery::convenience::typed
