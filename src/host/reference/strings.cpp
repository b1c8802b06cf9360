#include "host/reference/strings.hpp"

#include <cstring>
#include <stdexcept>

#include "host/assumed_operations.hpp"
#include "host/reference/arrays.hpp"
#include "host/reference/detail/counters.hpp"

namespace Korvane::String {

StringElement::StringElement(std::u16string text) : text(std::move(text)) {
    ++orrery::reference::detail::counters().strings;
}

StringElement::~StringElement() { --orrery::reference::detail::counters().strings; }

bool isString(const hxArray* array) noexcept { return array && array->classID() == hxSTRING_CLASS; }

String getString(const hxArray* array) {
    if (!isString(array)) throw std::invalid_argument("getString needs a string array");
    return String(static_cast<const StringElementPtr*>(array->data()), array->numberOfElements());
}

hxArray* createScalar(const std::u16string& text) {
    matrix::ArrayPtr array(orrery::reference::createArray({1, 1}, hxSTRING_CLASS));
    static_cast<StringElementPtr*>(array->data())[0].reset(new StringElement(text));
    return array.release();
}

hxArray* createRow(const std::vector<std::u16string>& texts) {
    matrix::ArrayPtr array(orrery::reference::createArray({1, texts.size()}, hxSTRING_CLASS));
    auto* items = static_cast<StringElementPtr*>(array->data());
    for (std::size_t i = 0; i < texts.size(); ++i) items[i].reset(new StringElement(texts[i]));
    return array.release();
}

}  // namespace Korvane::String

namespace orrery::reference {

COSValue makeStringArray(const std::vector<std::uint64_t>& extents,
                         const std::vector<std::optional<std::u16string>>& strings) {
    if (elementCount(extents) != strings.size())
        throw std::invalid_argument("a string array needs one string per element");
    COSValue out(createArray(extents, hxSTRING_CLASS));
    auto* items = static_cast<Korvane::String::StringElementPtr*>(out.content()->data());
    for (std::size_t i = 0; i < strings.size(); ++i)
        if (strings[i]) items[i].reset(new Korvane::String::StringElement(*strings[i]));
    return out;
}

COSValue makeCharArray(const std::vector<std::uint64_t>& extents, const std::u16string& units) {
    if (elementCount(extents) != units.size())
        throw std::invalid_argument("a char array needs one code unit per element");
    COSValue out(createArray(extents, hxCHAR_CLASS));
    if (!units.empty()) std::memcpy(out.content()->data(), units.data(), units.size() * sizeof(char16_t));
    return out;
}

}  // namespace orrery::reference
