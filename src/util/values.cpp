#include "convenience/values.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "convenience/string_conversion.hpp"
#include "host/string.hpp"
#include "util/utf8_decoding.hpp"
#include "util/vector_shape.hpp"

namespace orrery::convenience::values {
namespace {

COSValue makeArray(const std::vector<std::uint64_t>& extents, hxClassID classID) {
    return COSValue(matrix::detail::do_create_numeric(extents, classID, hxREAL));
}

// The extents, completed first when the host deferred them.
std::vector<std::uint64_t> extentsOf(hxArray& array) {
    if (array.hasOpaqueDimensions()) array._complete_opaque_dimensions();
    return {array.dimensions(), array.dimensions() + array.numberOfDimensions()};
}

template <class T>
const T* vectorData(const COSValue& value, hxClassID classID) {
    hxArray* array = value.content();
    if (!array || array->classID() != classID || array->complexity() != hxREAL || !detail::isVectorShaped(*array))
        return nullptr;
    return static_cast<const T*>(array->data());
}

const char* className(hxClassID classID) {
    switch (classID) {
        case hxCELL_CLASS: return "cell";
        case hxSTRUCT_CLASS: return "struct";
        case hxLOGICAL_CLASS: return "logical";
        case hxCHAR_CLASS: return "char";
        case hxDOUBLE_CLASS: return "double";
        case hxOBJECT_CLASS: return "object";
        case hxSTRING_CLASS: return "string";
        default: return "unknown";
    }
}

std::string shapeText(hxArray& array) {
    std::string text;
    for (std::uint64_t extent : extentsOf(array)) {
        if (!text.empty()) text += "-by-";
        text += std::to_string(extent);
    }
    return text;
}

std::string numberText(double number) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

// Long texts are cut: a message names the value, it does not repeat it.
std::string quoted(const std::u16string& text, char quote) {
    constexpr std::size_t limit = 40;
    std::string utf8 = fl::i18n::ustring_to_utf8(text.size() > limit ? text.substr(0, limit) : text);
    return quote + utf8 + (text.size() > limit ? "..." : "") + quote;
}

}  // namespace

COSValue makeDoubles(std::span<const double> numbers) {
    COSValue value = makeArray({1, numbers.size()}, hxDOUBLE_CLASS);
    if (!numbers.empty()) std::memcpy(value.content()->data(), numbers.data(), numbers.size_bytes());
    return value;
}

COSValue makeLogicals(const std::vector<bool>& flags) {
    COSValue value = makeArray({1, flags.size()}, hxLOGICAL_CLASS);
    hxLogical* out = hxGetLogicals(value.content());
    std::copy(flags.begin(), flags.end(), out);
    return value;
}

COSValue makeObjects(std::span<const COSInterfacePtr> objects) {
    COSValue value = makeArray({1, objects.size()}, hxOBJECT_CLASS);
    std::copy(objects.begin(), objects.end(), static_cast<COSInterfacePtr*>(value.content()->data()));
    return value;
}

COSValue makeString(std::string_view utf8) { return makeString(utf8ToUtf16(utf8)); }

COSValue makeString(std::u16string_view utf16) {
    return COSValue(Korvane::String::createScalar(std::u16string(utf16)));
}

COSValue makeChars(std::string_view utf8) {
    const std::u16string units = utf8ToUtf16(utf8);
    COSValue value = makeArray({units.empty() ? 0u : 1u, units.size()}, hxCHAR_CLASS);
    if (!units.empty()) std::memcpy(value.content()->data(), units.data(), units.size() * sizeof(char16_t));
    return value;
}

COSValue makeEmpty() { return makeArray({0, 0}, hxDOUBLE_CLASS); }

std::optional<std::vector<double>> readDoubles(const COSValue& value) {
    const double* numbers = vectorData<double>(value, hxDOUBLE_CLASS);
    if (!numbers) return std::nullopt;
    return std::vector<double>(numbers, numbers + value.content()->numberOfElements());
}

std::optional<std::vector<bool>> readLogicals(const COSValue& value) {
    const hxLogical* flags = vectorData<hxLogical>(value, hxLOGICAL_CLASS);
    if (!flags) return std::nullopt;
    return std::vector<bool>(flags, flags + value.content()->numberOfElements());
}

namespace {
// Whether ConvertCOSValueToCppValueImpl takes the value: it raises its errors for the rest.
bool holdsText(const COSValue& value) {
    const hxArray* array = value.content();
    if (!array) return false;
    if (array->classID() == hxCHAR_CLASS) return true;
    if (!Korvane::String::isString(array)) return false;
    const Korvane::String::String strings = Korvane::String::getString(array);
    return strings.getNumberOfElements() == 1 && strings[0];
}
}  // namespace

std::optional<std::string> readText(const COSValue& value) {
    if (!holdsText(value)) return std::nullopt;
    return ConvertCOSValueToCppValueImpl<std::string>(value, {}, {});
}

std::optional<std::u16string> readText16(const COSValue& value) {
    if (!holdsText(value)) return std::nullopt;
    return ConvertCOSValueToCppValueImpl<std::u16string>(value, {}, {});
}

bool isEmptyValue(const COSValue& value) noexcept {
    const hxArray* array = value.content();
    return !array || (array->classID() == hxDOUBLE_CLASS && array->numberOfElements() == 0);
}

std::string describeValue(const COSValue& value) {
    hxArray* array = value.content();
    if (!array) return "no value";
    const hxClassID classID = array->classID();
    const std::string kind = std::string(array->complexity() == hxCOMPLEX ? "complex " : "") + className(classID);
    const std::size_t count = array->numberOfElements();
    if (count == 0) return "an empty " + shapeText(*array) + " " + kind + " array";
    if (classID == hxCHAR_CLASS)
        return "a " + shapeText(*array) + " char array (" +
               quoted(std::u16string(static_cast<const char16_t*>(array->data()), count), '\'') + ")";
    if (count != 1) return "a " + shapeText(*array) + " " + kind + " array";
    switch (classID) {
        case hxDOUBLE_CLASS:
            if (array->complexity() == hxREAL) return "a double scalar (" + numberText(*readDouble(value)) + ")";
            break;
        case hxLOGICAL_CLASS: return std::string("a logical scalar (") + (*readLogical(value) ? "true" : "false") + ")";
        case hxSTRING_CLASS: {
            const Korvane::String::StringElementPtr& element = Korvane::String::getString(array)[0];
            return element ? "a string scalar (" + quoted(element->text, '"') + ")" : "a missing string";
        }
        case hxOBJECT_CLASS: {
            COSClass* cls = omGetObjectClass(peekObject(value));
            return cls ? detail::withArticle(cls->getClassName()) + " object" : "an object of no class";
        }
        default: break;
    }
    return "a " + kind + " scalar";
}

std::string displayValue(const COSValue& value) {
    hxArray* array = value.content();
    if (!array) return "<no value>";
    const std::size_t count = array->numberOfElements();
    if (count == 0) return array->classID() == hxCHAR_CLASS ? "''" : "[]";
    switch (array->classID()) {
        case hxDOUBLE_CLASS:
            if (array->complexity() != hxREAL) return count == 1 ? "<complex double>" : "<complex double array>";
            if (count != 1) return "<double array>";
            return numberText(*static_cast<const double*>(array->data()));
        case hxLOGICAL_CLASS:
            if (count != 1) return "<logical array>";
            return *hxGetLogicals(array) ? "true" : "false";
        case hxCHAR_CLASS: {
            // Appended rather than "'" + text: GCC 12 at -O3 reports a false -Wrestrict on that.
            std::string text = "'";
            text += fl::i18n::ustring_to_utf8(std::u16string(static_cast<const char16_t*>(array->data()), count));
            text += '\'';
            return text;
        }
        case hxSTRING_CLASS: {
            if (count != 1) return "<string array>";
            const Korvane::String::StringElementPtr& element = Korvane::String::getString(array)[0];
            if (!element) return "<missing>";
            std::string text = "\"";
            text += fl::i18n::ustring_to_utf8(element->text);
            text += '"';
            return text;
        }
        case hxOBJECT_CLASS: {
            if (count != 1) return "<object array>";
            COSClass* cls = omGetObjectClass(static_cast<COSInterfacePtr*>(array->data())->get());
            if (!cls) return "<object>";
            // Appended step by step: GCC 12 at -O3 misreads "<" + std::string&& as an overlapping copy.
            std::string text = "<";
            text += cls->getClassName();
            text += " object>";
            return text;
        }
        default: return "<array>";
    }
}

std::u16string utf8ToUtf16(std::string_view utf8) { return text::utf8ToUtf16(utf8); }

}  // namespace orrery::convenience::values
