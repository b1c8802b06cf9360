#pragma once

#include <exception>
#include <string>

#include "convenience/export.hpp"
#include "host/exception.hpp"
#include "host/interned.hpp"
#include "host/value.hpp"

namespace LUMEN::string {
struct ORRERY_CONVENIENCE_API MustBeStringScalarOrCharacterVector;
struct ORRERY_CONVENIENCE_API MissingNotSupported;
}  // namespace LUMEN::string

namespace orrery::convenience {

// The value is neither a character array nor a string array with exactly one string.
using MustBeStringScalarOrCharacterVectorError =
    foundation::core::except::Exception<LUMEN::string::MustBeStringScalarOrCharacterVector, std::exception, void>;
// The value is a string array whose one string is missing.
using MissingNotSupportedError =
    foundation::core::except::Exception<LUMEN::string::MissingNotSupported, std::exception, void>;

// Selects a conversion of the shared conversion template; it carries no data.
template <int Kind, int Form, int Options>
struct Attribute {};

// Converts a host value to a native value of type T. The id and the attribute tag
// belong to the template's shared signature; the text conversions below ignore them.
template <class T>
T ConvertCOSValueToCppValueImpl(COSValue value, const COSInternedBase<IdEmptyPolicy>& id, Attribute<2, 2, 0> tag);

// The text of a character array (any shape, in linear element order) or of a 1-by-1
// string array, as UTF-8. Raises MustBeStringScalarOrCharacterVectorError or
// MissingNotSupportedError for other values. Zero code units are kept.
template <>
ORRERY_CONVENIENCE_API std::string ConvertCOSValueToCppValueImpl<std::string>(COSValue value,
                                                                              const COSInternedBase<IdEmptyPolicy>& id,
                                                                              Attribute<2, 2, 0> tag);

// The same text as UTF-16, its code units unchanged.
template <>
ORRERY_CONVENIENCE_API std::u16string ConvertCOSValueToCppValueImpl<std::u16string>(
    COSValue value, const COSInternedBase<IdEmptyPolicy>& id, Attribute<2, 2, 0> tag);

}  // namespace orrery::convenience
