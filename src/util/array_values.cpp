#include <algorithm>

#include "convenience/values.hpp"
#include "host/array.hpp"
#include "host/assumed_operations.hpp"
#include "host/exception.hpp"
#include "host/string.hpp"
#include "util/vector_shape.hpp"

namespace orrery::convenience::values {
namespace {

hxArray* vectorOf(const COSValue& value, hxClassID classID) {
    hxArray* array = value.content();
    if (!array || array->classID() != classID || !detail::isVectorShaped(*array)) return nullptr;
    return array;
}

template <class Text, class Convert>
std::optional<std::vector<Text>> readTexts(const COSValue& value, Convert convert) {
    hxArray* array = vectorOf(value, hxSTRING_CLASS);
    if (!array || !Korvane::String::isString(array)) return std::nullopt;
    const Korvane::String::String strings = Korvane::String::getString(array);
    std::vector<Text> texts;
    texts.reserve(strings.getNumberOfElements());
    for (const Korvane::String::StringElementPtr& element : strings) {
        if (!element) return std::nullopt;  // a missing string has no text
        texts.push_back(convert(element->text));
    }
    return texts;
}

}  // namespace

COSValue makeStrings(const std::vector<std::string>& utf8) {
    std::vector<std::u16string> utf16;
    utf16.reserve(utf8.size());
    for (const std::string& text : utf8) utf16.push_back(utf8ToUtf16(text));
    return makeStrings(utf16);
}

COSValue makeStrings(const std::vector<std::u16string>& utf16) { return COSValue(Korvane::String::createRow(utf16)); }

std::optional<std::vector<std::string>> readStrings(const COSValue& value) {
    return readTexts<std::string>(value, [](const std::u16string& text) { return fl::i18n::ustring_to_utf8(text); });
}

std::optional<std::vector<std::u16string>> readStrings16(const COSValue& value) {
    return readTexts<std::u16string>(value, [](const std::u16string& text) { return text; });
}

std::optional<std::vector<COSInterface*>> peekObjects(const COSValue& value) {
    hxArray* array = vectorOf(value, hxOBJECT_CLASS);
    if (!array) return std::nullopt;
    const auto* handles = static_cast<const COSInterfacePtr*>(array->data());
    std::vector<COSInterface*> objects;
    objects.reserve(array->numberOfElements());
    for (std::uint64_t i = 0; i < array->numberOfElements(); ++i) objects.push_back(handles[i].get());
    return objects;
}

}  // namespace orrery::convenience::values
