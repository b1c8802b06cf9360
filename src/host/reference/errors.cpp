#include <map>
#include <string>

#include "host/exception.hpp"
#include "host/reference/text.hpp"

using orrery::reference::detail::utf8ToUtf16;

namespace {

// The host's message catalogue: "component:id" -> text, {N} is argument N.
const std::map<std::string, std::u16string>& catalogue() {
    static const std::map<std::string, std::u16string> texts = {
        {"LUMEN:orrery_convenience:ConstructorNotSupported", u"Objects of class '{0}' cannot be constructed."},
        {"LUMEN:string:MustBeStringScalarOrCharacterVector", u"Value must be a string scalar or a character vector."},
        {"LUMEN:string:MissingNotSupported", u"A missing string cannot be converted to text."},
        {"orrery:class:InvalidPropertyDatatype", u"Property '{0}' has the unknown data type '{1}'."},
        {"orrery:array:SizeMismatch", u"Arrays have incompatible sizes for this operation."},
        {"orrery:array:Unknown", u"Array error {0}."},
    };
    return texts;
}

std::u16string argumentText(const foundation::core::except::MessageArgument& argument) {
    if (auto* number = std::get_if<std::int64_t>(&argument)) return utf8ToUtf16(std::to_string(*number));
    if (auto* text = std::get_if<std::string>(&argument)) return utf8ToUtf16(*text);
    return std::get<std::u16string>(argument);
}

}  // namespace

namespace fl::i18n {
std::string ustring_to_utf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}
}  // namespace fl::i18n

namespace orrery::reference::detail {
std::u16string utf8ToUtf16(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; k < len && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}
}  // namespace orrery::reference::detail

namespace foundation::core::except {

IException::~IException() = default;

std::string IUserException::convert_str() const { return fl::i18n::ustring_to_utf8(ToUstringImpl()); }

IMsgIDException::IMsgIDException(Message message)
    : message_(std::move(message)), errorId_(message_.component + ":" + message_.id) {
    text_ = fl::i18n::ustring_to_utf8(GetUnicodeMessageTxt());
}

std::u16string IMsgIDException::GetUnicodeMessageTxt() const {
    auto found = catalogue().find(errorId_);
    if (found == catalogue().end()) return utf8ToUtf16("Unknown message " + errorId_ + ".");
    std::u16string out;
    const std::u16string& pattern = found->second;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'{' && i + 2 < pattern.size() && pattern[i + 2] == u'}' && pattern[i + 1] >= u'0' &&
            pattern[i + 1] <= u'9') {
            std::size_t index = pattern[i + 1] - u'0';
            if (index < message_.arguments.size()) out += argumentText(message_.arguments[index]);
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::u16string IMsgIDException::ToUstringImpl() const { return GetUnicodeMessageTxt(); }

}  // namespace foundation::core::except
