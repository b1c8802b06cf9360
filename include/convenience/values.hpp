#pragma once

// The library's one value API: making, reading and describing host values (numbers,
// logicals, text, vectors, objects) through the host's array API, the library's text
// conversion and the host operations of host/assumed_operations.hpp. Code that uses it runs
// on any host that implements those declarations; nothing here needs the reference host.
// Raw hooks, the typed layer, the test kit and the inspector all use it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "convenience/export.hpp"
#include "host/array.hpp"
#include "host/assumed_operations.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

namespace orrery::convenience::values {

namespace detail {
// The extents of every scalar, made once: the host API takes them by reference.
inline const std::vector<std::uint64_t>& scalarExtents() {
    static const std::vector<std::uint64_t> extents{1, 1};
    return extents;
}

// "a word" or "an word", by the word's first letter; for messages.
inline std::string withArticle(const std::string& word) {
    const bool vowel = !word.empty() && std::string_view("aeiouAEIOU").find(word.front()) != std::string_view::npos;
    return (vowel ? "an " : "a ") + word;
}

template <class T>
T* scalarData(const COSValue& value, hxClassID classID) noexcept {
    const hxArray* array = value.content();
    if (!array || array->classID() != classID || array->complexity() != hxREAL || array->numberOfElements() != 1)
        return nullptr;
    return static_cast<T*>(array->data());
}
}  // namespace detail

/// A 1-by-1 double array.
inline COSValue makeDouble(double number) {
    COSValue value(matrix::detail::do_create_numeric(detail::scalarExtents(), hxDOUBLE_CLASS, hxREAL));
    *static_cast<double*>(value.content()->data()) = number;
    return value;
}

/// A 1-by-1 logical array.
inline COSValue makeLogical(bool flag) {
    COSValue value(matrix::detail::do_create_numeric(detail::scalarExtents(), hxLOGICAL_CLASS, hxREAL));
    *hxGetLogicals(value.content()) = flag;
    return value;
}

/// A 1-by-1 object array holding the object.
inline COSValue makeObject(COSInterfacePtr object) {
    COSValue value(matrix::detail::do_create_numeric(detail::scalarExtents(), hxOBJECT_CLASS, hxREAL));
    *static_cast<COSInterfacePtr*>(value.content()->data()) = std::move(object);
    return value;
}

/// A 1-by-n double row (1-by-0 when empty).
ORRERY_CONVENIENCE_API COSValue makeDoubles(std::span<const double> numbers);
/// A 1-by-n logical row.
ORRERY_CONVENIENCE_API COSValue makeLogicals(const std::vector<bool>& flags);
/// A 1-by-n object row.
ORRERY_CONVENIENCE_API COSValue makeObjects(std::span<const COSInterfacePtr> objects);
/// A 1-by-1 string array (a string scalar) holding the text, given as UTF-8 or UTF-16.
ORRERY_CONVENIENCE_API COSValue makeString(std::string_view utf8);
ORRERY_CONVENIENCE_API COSValue makeString(std::u16string_view utf16);
/// A 1-by-n char array (a character vector) of the text's UTF-16 code units; 0-by-0 when empty.
ORRERY_CONVENIENCE_API COSValue makeChars(std::string_view utf8);
/// The empty value []: a 0-by-0 double array.
ORRERY_CONVENIENCE_API COSValue makeEmpty();

/// The number of a 1-by-1 double array; nothing for any other value.
inline std::optional<double> readDouble(const COSValue& value) noexcept {
    if (const double* number = detail::scalarData<double>(value, hxDOUBLE_CLASS)) return *number;
    return std::nullopt;
}

/// The flag of a 1-by-1 logical array; nothing for any other value.
inline std::optional<bool> readLogical(const COSValue& value) noexcept {
    if (const hxLogical* flag = detail::scalarData<hxLogical>(value, hxLOGICAL_CLASS)) return *flag;
    return std::nullopt;
}

/// The object of a 1-by-1 object array; an empty handle for any other value.
inline COSInterfacePtr readObject(const COSValue& value) noexcept {
    if (const auto* object = detail::scalarData<COSInterfacePtr>(value, hxOBJECT_CLASS)) return *object;
    return {};
}

/// The same without taking a share of the object: valid while the value lives.
inline COSInterface* peekObject(const COSValue& value) noexcept {
    if (const auto* object = detail::scalarData<COSInterfacePtr>(value, hxOBJECT_CLASS)) return object->get();
    return nullptr;
}

/// The numbers of a double array shaped as a vector (1-by-n, n-by-1 or empty), in order.
ORRERY_CONVENIENCE_API std::optional<std::vector<double>> readDoubles(const COSValue& value);
/// The flags of a logical array shaped as a vector.
ORRERY_CONVENIENCE_API std::optional<std::vector<bool>> readLogicals(const COSValue& value);
/// The text of a character array or of a string scalar, as UTF-8 or UTF-16 (through
/// ConvertCOSValueToCppValueImpl); nothing for other values and for a missing string.
ORRERY_CONVENIENCE_API std::optional<std::string> readText(const COSValue& value);
ORRERY_CONVENIENCE_API std::optional<std::u16string> readText16(const COSValue& value);

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

/// Whether the value is no value at all or an empty double array ([]).
ORRERY_CONVENIENCE_API bool isEmptyValue(const COSValue& value) noexcept;

/// For messages: "a double scalar (2.5)", "a 1-by-3 char array ('abc')", "a string scalar
/// (\"abc\")", "a geo.Polygon object", "a 2-by-2 logical array", "no value".
ORRERY_CONVENIENCE_API std::string describeValue(const COSValue& value);

/// The value as a user would type it back, for listings: 3.5, true, 'abc' (chars), "abc"
/// (a string), <pkg.Point object>, [] ('' for empty chars), <missing> (a missing string),
/// <no value>; an array of more than one number, flag, string or object names its kind only:
/// <double array>.
ORRERY_CONVENIENCE_API std::string displayValue(const COSValue& value);

/// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
ORRERY_CONVENIENCE_API std::u16string utf8ToUtf16(std::string_view utf8);

}  // namespace orrery::convenience::values
