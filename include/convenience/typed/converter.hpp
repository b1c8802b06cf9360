#pragma once

// Converter<T>: how values of a C++ type cross to the host and back, and which type id the
// host sees for them. Specialise it for your own types; the defaults cover the arithmetic
// types, bool, std::string, std::u16string, std::vector of numbers, bools, strings or
// bound classes, std::optional, COSValue itself, and bound classes. A type none of them
// covers (std::map, a pointer, ...) fails to compile, naming the type.
//
// A converter has four static members:
//     static COSId typeId();                          // the type id in signatures and properties
//     static std::string expected();                  // "a double scalar", for error messages
//     static std::optional<T> read(const COSValue&);  // nothing when the value does not convert
//     static COSValue make(const T&);                 // a new host value
// A converter that also has `static constexpr bool bound = true` marks a bound class:
// parameters of that type by reference or pointer then reach the host object's own C++
// object instead of a copy.

#include <cmath>
#include <concepts>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "convenience/typed/class_binding.hpp"
#include "convenience/typed/detail/type_name.hpp"
#include "convenience/values.hpp"
#include "host/interned.hpp"
#include "host/value.hpp"

namespace orrery::convenience::typed {

namespace detail {
// Characters are not numbers here; signed and unsigned char are (std::int8_t, std::uint8_t).
template <class T>
inline constexpr bool isCharacter =
    std::is_same_v<T, char> || std::is_same_v<T, wchar_t> || std::is_same_v<T, char8_t> ||
    std::is_same_v<T, char16_t> || std::is_same_v<T, char32_t>;

// The host's numbers are doubles; these C++ types travel as double scalars.
template <class T>
concept Number = std::is_arithmetic_v<T> && !std::is_same_v<T, bool> && !isCharacter<T>;

template <class T>
inline constexpr bool isOptional = false;
template <class T>
inline constexpr bool isOptional<std::optional<T>> = true;
}  // namespace detail

/// Raised when a member is defined with a bound-class parameter or result whose class is
/// not bound yet; the typed builders add the member and the parameter to the message.
struct UnboundClassError : std::logic_error {
    UnboundClassError(const std::string& message, std::string cppType)
        : std::logic_error(message), typeName(std::move(cppType)) {}
    std::string typeName;  ///< demangled: "geo::Polygon"
};

namespace detail {
// Fails to compile for a type that no converter handles: not a class (a pointer, an
// enumeration, a character type, ...), or a standard library type that has no
// specialisation (std::map, std::list, ...), which no class binding can stand for. The
// compiler names the type in the line "In instantiation of CheckConvertible<...>".
template <class T>
struct CheckConvertible {
    static_assert(std::is_class_v<T> && !isStandardLibraryType<T>(),
                  "no Converter for this type: use a type the typed layer converts, specialise "
                  "orrery::convenience::typed::Converter for it, or bind a class of your own with defineClass");
    static constexpr bool ok = true;
};
}  // namespace detail

/// Bound classes (the default): the class's "<class> scalar" type, read as a copy of the
/// object's C++ object, made as a new host object of the class.
template <class T>
struct Converter {
    static_assert(detail::CheckConvertible<T>::ok);
    static constexpr bool bound = true;

    static COSId typeId() {
        if (!bindingOf<T>.isBound())
            throw UnboundClassError("the C++ type " + detail::readableTypeName<T>() +
                                        " has no class bound to it (yet): bind it with defineClass first",
                                    detail::readableTypeName<T>());
        return bindingOf<T>.scalarType;
    }
    static std::string expected() { return "a constructed " + detail::boundName<T>() + " object"; }
    static std::optional<T> read(const COSValue& value) {
        if constexpr (std::is_copy_constructible_v<T>) {
            if (const T* object = objectAs<T>(values::peekObject(value))) return *object;
        }
        return std::nullopt;
    }
    static COSValue make(const T& value) {
        return values::makeObject(makeBoundObject<T>(detail::boundName<T>(), value));
    }
    static COSValue make(T&& value) {
        return values::makeObject(makeBoundObject<T>(detail::boundName<T>(), std::move(value)));
    }
};

template <detail::Number T>
struct Converter<T> {
    static COSId typeId() { return makeId("double scalar"); }
    static std::string expected() {
        if constexpr (std::is_floating_point_v<T>) return "a double scalar";
        return "a whole-number double scalar " + range();
    }
    /// "within the range of a 32-bit signed integer" for integers, "" otherwise.
    static std::string range() {
        if constexpr (std::is_floating_point_v<T>) return "";
        constexpr std::size_t bits = sizeof(T) * 8;
        return std::string("within the range of ") + (bits == 8 ? "an " : "a ") + std::to_string(bits) + "-bit " +
               (std::is_signed_v<T> ? "signed" : "unsigned") + " integer";
    }
    static std::optional<T> read(const COSValue& value) noexcept {
        const std::optional<double> number = values::readDouble(value);
        return number ? fromDouble(*number) : std::nullopt;
    }
    static std::optional<T> fromDouble(double number) noexcept {
        if constexpr (std::is_integral_v<T>) {
            // 2^digits is exact as a double, the limits themselves need not be.
            const double top = std::ldexp(1.0, std::numeric_limits<T>::digits);
            const double bottom = std::is_signed_v<T> ? -top : 0.0;
            if (!(number >= bottom && number < top) || std::trunc(number) != number) return std::nullopt;
        }
        return static_cast<T>(number);
    }
    static COSValue make(T value) { return values::makeDouble(static_cast<double>(value)); }
};

template <>
struct Converter<bool> {
    static COSId typeId() { return makeId("logical scalar"); }
    static std::string expected() { return "a logical scalar"; }
    static std::optional<bool> read(const COSValue& value) noexcept { return values::readLogical(value); }
    static COSValue make(bool value) { return values::makeLogical(value); }
};

template <>
struct Converter<std::string> {
    static COSId typeId() { return makeId("string scalar"); }
    static std::string expected() { return "a string scalar or a character vector"; }
    static std::optional<std::string> read(const COSValue& value) { return values::readText(value); }
    static COSValue make(const std::string& value) { return values::makeString(value); }
};

template <>
struct Converter<std::u16string> {
    static COSId typeId() { return makeId("string scalar"); }
    static std::string expected() { return "a string scalar or a character vector"; }
    static std::optional<std::u16string> read(const COSValue& value) { return values::readText16(value); }
    static COSValue make(const std::u16string& value) { return values::makeString(value); }
};

template <detail::Number T>
struct Converter<std::vector<T>> {
    static COSId typeId() { return makeId("double vector"); }
    static std::string expected() {
        if constexpr (std::is_floating_point_v<T>) return "a double vector";
        return "a double vector of whole numbers " + Converter<T>::range();
    }
    static std::optional<std::vector<T>> read(const COSValue& value) {
        std::optional<std::vector<double>> numbers = values::readDoubles(value);
        if (!numbers) return std::nullopt;
        if constexpr (std::is_same_v<T, double>) {
            return numbers;
        } else {
            std::vector<T> out;
            out.reserve(numbers->size());
            for (double number : *numbers) {
                std::optional<T> item = Converter<T>::fromDouble(number);
                if (!item) return std::nullopt;
                out.push_back(*item);
            }
            return out;
        }
    }
    static COSValue make(const std::vector<T>& value) {
        if constexpr (std::is_same_v<T, double>) {
            return values::makeDoubles(value);
        } else {
            std::vector<double> numbers(value.begin(), value.end());
            return values::makeDoubles(numbers);
        }
    }
};

template <>
struct Converter<std::vector<bool>> {
    static COSId typeId() { return makeId("logical vector"); }
    static std::string expected() { return "a logical vector"; }
    static std::optional<std::vector<bool>> read(const COSValue& value) { return values::readLogicals(value); }
    static COSValue make(const std::vector<bool>& value) { return values::makeLogicals(value); }
};

/// Texts travel as a 1-by-n string array; a string array shaped as a vector, without
/// missing strings, reads back.
template <>
struct Converter<std::vector<std::string>> {
    static COSId typeId() { return makeId("string vector"); }
    static std::string expected() { return "a string vector"; }
    static std::optional<std::vector<std::string>> read(const COSValue& value) { return values::readStrings(value); }
    static COSValue make(const std::vector<std::string>& value) { return values::makeStrings(value); }
};

template <>
struct Converter<std::vector<std::u16string>> {
    static COSId typeId() { return makeId("string vector"); }
    static std::string expected() { return "a string vector"; }
    static std::optional<std::vector<std::u16string>> read(const COSValue& value) {
        return values::readStrings16(value);
    }
    static COSValue make(const std::vector<std::u16string>& value) { return values::makeStrings(value); }
};

namespace detail {
template <class T>
concept BoundElement = std::is_class_v<T> && requires {
    Converter<T>::bound;
};
}  // namespace detail

/// Objects of a bound class travel as a 1-by-n object array of new host objects, each
/// holding a copy; an object array shaped as a vector reads back when every element is a
/// constructed object of the class (or of a bound subclass).
template <detail::BoundElement T>
struct Converter<std::vector<T>> {
    static COSId typeId() {
        Converter<T>::typeId();  // raises UnboundClassError for a class not bound yet
        return makeId(bindingOf<T>.name + " vector");
    }
    static std::string expected() { return "an object vector of constructed " + detail::boundName<T>() + " objects"; }
    static std::optional<std::vector<T>> read(const COSValue& value) {
        std::optional<std::vector<COSInterface*>> objects = values::peekObjects(value);
        if (!objects) return std::nullopt;
        std::vector<T> out;
        out.reserve(objects->size());
        for (COSInterface* object : *objects) {
            const T* item = objectAs<T>(object);
            if (!item) return std::nullopt;
            out.push_back(*item);
        }
        return out;
    }
    static COSValue make(const std::vector<T>& value) {
        std::vector<COSInterfacePtr> objects;
        objects.reserve(value.size());
        for (const T& item : value) objects.push_back(makeBoundObject<T>(detail::boundName<T>(), item));
        return values::makeObjects(objects);
    }
};

/// Nothing travels as the empty value [] (a 0-by-0 double array), which also reads as
/// nothing; anything else as T does. Trailing optional parameters may be left out.
template <class T>
struct Converter<std::optional<T>> {
    static COSId typeId() { return Converter<T>::typeId(); }
    static std::string expected() {
        // Appended in place: once this is inlined, GCC 12 misreads std::string&& + "..." as a copy
        // out of bounds (-Warray-bounds), which would fail a user's -Werror build.
        std::string text = Converter<T>::expected();
        text += " or []";
        return text;
    }
    static std::optional<std::optional<T>> read(const COSValue& value) {
        if (values::isEmptyValue(value)) return std::optional<T>();
        std::optional<T> item = Converter<T>::read(value);
        if (!item) return std::nullopt;
        return item;
    }
    static COSValue make(const std::optional<T>& value) {
        return value ? Converter<T>::make(*value) : values::makeEmpty();
    }
};

/// Host values pass through unchanged, typed "any".
template <>
struct Converter<COSValue> {
    static COSId typeId() { return makeId("any"); }
    static std::string expected() { return "any value"; }
    static std::optional<COSValue> read(const COSValue& value) noexcept { return value; }
    static COSValue make(COSValue value) noexcept { return value; }
};

namespace detail {
/// Whether T is a bound class, reached by reference rather than converted.
template <class T>
concept BoundClass = requires {
    Converter<T>::bound;
};
}  // namespace detail

}  // namespace orrery::convenience::typed
