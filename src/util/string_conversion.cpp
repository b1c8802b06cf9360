#include "convenience/string_conversion.hpp"

#include <cstddef>

#include "host/string.hpp"
#include "util/array_dimensions.hpp"

namespace orrery::convenience {
namespace {

// Code units inside a host array; valid while the array is.
struct TextView {
    const char16_t* units;
    std::size_t count;
};

template <class Error>
[[noreturn]] void raise(const char* id) {
    throw Error(foundation::core::except::Message{{}, "LUMEN:string", id});
}

TextView getTextUnits(const hxArray* array) {
    if (!array) raise<MustBeStringScalarOrCharacterVectorError>("MustBeStringScalarOrCharacterVector");
    if (array->classID() == hxCHAR_CLASS) {
        const std::uint64_t count = detail::elementCount(array);
        return {static_cast<const char16_t*>(array->data()), static_cast<std::size_t>(count)};
    }
    if (!Korvane::String::isString(array))
        raise<MustBeStringScalarOrCharacterVectorError>("MustBeStringScalarOrCharacterVector");
    const Korvane::String::String strings = Korvane::String::getString(array);
    if (strings.getNumberOfElements() != 1)
        raise<MustBeStringScalarOrCharacterVectorError>("MustBeStringScalarOrCharacterVector");
    const Korvane::String::StringElementPtr& element = strings[0];
    if (!element) raise<MissingNotSupportedError>("MissingNotSupported");
    return {element->text.data(), element->text.size()};
}

}  // namespace

template <>
std::u16string ConvertCOSValueToCppValueImpl<std::u16string>(COSValue value, const COSInternedBase<IdEmptyPolicy>&,
                                                             Attribute<2, 2, 0>) {
    const TextView text = getTextUnits(value.content());
    return std::u16string(text.units, text.count);
}

template <>
std::string ConvertCOSValueToCppValueImpl<std::string>(COSValue value, const COSInternedBase<IdEmptyPolicy>& id,
                                                       Attribute<2, 2, 0> tag) {
    return fl::i18n::ustring_to_utf8(ConvertCOSValueToCppValueImpl<std::u16string>(std::move(value), id, tag));
}

}  // namespace orrery::convenience
