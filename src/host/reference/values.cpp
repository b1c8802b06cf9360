#include "host/reference/values.hpp"

#include <charconv>
#include <cstring>
#include <stdexcept>

#include "host/exception.hpp"
#include "host/reference/arrays.hpp"
#include "host/reference/class_object.hpp"
#include "host/reference/objects.hpp"
#include "host/reference/text.hpp"
#include "host/string.hpp"

namespace orrery::reference {
namespace {

template <class T>
T* elements(const COSValue& value, hxClassID classID, const char* what) {
    hxArray* array = value.content();
    if (!array || array->classID() != classID) throw std::invalid_argument(std::string("the value is not ") + what);
    return static_cast<T*>(array->data());
}

}  // namespace

COSValue makeDouble(double value) {
    COSValue out(createArray({1, 1}, hxDOUBLE_CLASS));
    *static_cast<double*>(out.content()->data()) = value;
    return out;
}

COSValue makeLogical(bool value) {
    COSValue out(createArray({1, 1}, hxLOGICAL_CLASS));
    *hxGetLogicals(out.content()) = value;
    return out;
}

COSValue makeChars(const std::string& utf8) {
    std::u16string text = utf8ToUtf16(utf8);
    COSValue out(createArray({text.empty() ? 0u : 1u, text.size()}, hxCHAR_CLASS));
    if (!text.empty()) std::memcpy(out.content()->data(), text.data(), text.size() * sizeof(char16_t));
    return out;
}

COSValue makeObjects(const std::vector<COSInterfacePtr>& objects) {
    COSValue out(createArray({1, objects.size()}, hxOBJECT_CLASS));
    auto* items = static_cast<COSInterfacePtr*>(out.content()->data());
    for (std::size_t i = 0; i < objects.size(); ++i) items[i] = objects[i];
    return out;
}

double toDouble(const COSValue& value) {
    double* items = elements<double>(value, hxDOUBLE_CLASS, "a double");
    if (value.content()->numberOfElements() != 1) throw std::invalid_argument("the value is not a double scalar");
    return *items;
}

std::string toText(const COSValue& value) {
    auto* items = elements<char16_t>(value, hxCHAR_CLASS, "text");
    return fl::i18n::ustring_to_utf8(std::u16string(items, value.content()->numberOfElements()));
}

COSInterfacePtr toObject(const COSValue& value) {
    auto* items = elements<COSInterfacePtr>(value, hxOBJECT_CLASS, "an object");
    if (value.content()->numberOfElements() != 1) throw std::invalid_argument("the value is not one object");
    return items[0];
}

std::string describe(const COSValue& value) {
    hxArray* array = value.content();
    if (!array) return "<no value>";
    if (array->numberOfElements() == 0) return array->classID() == hxCHAR_CLASS ? "''" : "[]";
    switch (array->classID()) {
        case hxDOUBLE_CLASS: {
            if (array->numberOfElements() != 1) return "<double array>";
            // The shortest text that reads back as the same double: 1e-07, not 0.000000.
            char text[32];
            return std::string(text, std::to_chars(text, text + sizeof text, toDouble(value)).ptr);
        }
        case hxLOGICAL_CLASS:
            if (array->numberOfElements() != 1) return "<logical array>";
            return *hxGetLogicals(array) ? "true" : "false";
        case hxCHAR_CLASS: {
            // Appended rather than "'" + text: GCC 12 at -O3 reports a false -Wrestrict on that.
            std::string text = "'";
            text += toText(value);
            text += '\'';
            return text;
        }
        case hxSTRING_CLASS: {
            if (array->numberOfElements() != 1) return "<string array>";
            const Korvane::String::StringElementPtr& element = Korvane::String::getString(array)[0];
            if (!element) return "<missing>";
            std::string text = "\"";
            text += fl::i18n::ustring_to_utf8(element->text);
            text += '"';
            return text;
        }
        case hxOBJECT_CLASS: {
            if (array->numberOfElements() != 1) return "<object array>";
            auto* object = asObject(static_cast<COSInterfacePtr*>(array->data())[0]);
            return object && object->cls() ? "<" + object->cls()->getClassID().str() + " object>" : "<object>";
        }
        default: return "<array>";
    }
}

}  // namespace orrery::reference
