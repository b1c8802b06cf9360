#pragma once

#include <string>
#include <vector>

#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

namespace orrery::reference {

// Values as the reference host makes them: 1-by-1 double and logical arrays, 1-by-n
// char arrays of UTF-16 code units, 1-by-n object arrays.
ORRERY_HOST_API COSValue makeDouble(double value);
ORRERY_HOST_API COSValue makeLogical(bool value);
ORRERY_HOST_API COSValue makeChars(const std::string& utf8);
ORRERY_HOST_API COSValue makeObjects(const std::vector<COSInterfacePtr>& objects);

// Readers; std::invalid_argument when the value is not of that kind.
ORRERY_HOST_API double toDouble(const COSValue& value);
ORRERY_HOST_API std::string toText(const COSValue& value);
ORRERY_HOST_API COSInterfacePtr toObject(const COSValue& value);

// Short text for people: 3.5, true, 'abc' (chars), "abc" (a string), <pkg.Point object>, [] ; arrays of more than one
// number, logical or object only name their kind: <double array>.
ORRERY_HOST_API std::string describe(const COSValue& value);

}  // namespace orrery::reference
