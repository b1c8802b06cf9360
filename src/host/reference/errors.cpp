#include "host/reference/errors.hpp"

#include <map>
#include <mutex>
#include <string>

#include "host/assumed_operations.hpp"
#include "host/reference/text.hpp"

namespace orrery::reference {

std::u16string argumentText(const foundation::core::except::MessageArgument& argument);

namespace {

struct Catalogue {
    std::mutex lock;
    std::map<std::string, std::u16string> texts = {
        {"LUMEN:orrery_convenience:ConstructorNotSupported", u"Objects of class '{0}' cannot be constructed."},
        {"LUMEN:string:MustBeStringScalarOrCharacterVector", u"Value must be a string scalar or a character vector."},
        {"LUMEN:string:MissingNotSupported", u"A missing string cannot be converted to text."},
        {"orrery:class:InvalidPropertyDatatype", u"Property '{0}' has the unknown data type '{1}'."},
        {"orrery:namespace:NotFound", u"No namespace named '{0}'."},
        {"orrery:namespace:NameAlreadyDefined", u"'{0}' is already defined in namespace '{1}'."},
        {"orrery:array:SizeMismatch", u"Arrays have incompatible sizes for this operation."},
        {"orrery:array:Unknown", u"Array error {0}."},
        {"orrery:object:DeletedHandle", u"Invalid or deleted object."},
        {"orrery:class:AmbiguousMember",
         u"'{0}' is ambiguous in class '{1}': it comes from {2}. Define '{0}' in '{1}' to choose."},
        // The typed definition layer's errors (convenience/typed/errors.hpp).
        {"LUMEN:orrery_typed:WrongInputCount", u"{0} takes {1}, but was given {2}."},
        {"LUMEN:orrery_typed:TooManyOutputs", u"{0} gives {1}, but {2} were asked for."},
        {"LUMEN:orrery_typed:BadInput", u"Input {1} ({2}) of {0} must be {3}, not {4}."},
        {"LUMEN:orrery_typed:BadPropertyValue", u"Property {0} must be set to {1}, not {2}."},
        {"LUMEN:orrery_typed:InvalidObject", u"{0} needs a constructed {1} object, not {2}."},
        {"LUMEN:orrery_typed:ReadOnlyProperty", u"Property {0} is read-only."},
        {"LUMEN:orrery_typed:AbstractMember", u"Method {0} is abstract: a subclass must implement it."},
        {"LUMEN:orrery_typed:CppException", u"{0} failed: {1}"},
        {"LUMEN:orrery_typed:ClassNotAvailable",
         u"{0} cannot make an object of class {1}: the host has no such class."},
    };
};

Catalogue& catalogue() {
    // Never destroyed: errors may be raised during static destruction.
    static auto* instance = new Catalogue();
    return *instance;
}

}  // namespace

std::u16string argumentText(const foundation::core::except::MessageArgument& argument) {
    if (auto* number = std::get_if<std::int64_t>(&argument)) return utf8ToUtf16(std::to_string(*number));
    if (auto* text = std::get_if<std::string>(&argument)) return utf8ToUtf16(*text);
    return std::get<std::u16string>(argument);
}

void addMessageText(const std::string& errorId, const std::u16string& text) {
    std::lock_guard guard(catalogue().lock);
    catalogue().texts[errorId] = text;
}

std::optional<std::u16string> findMessageText(const std::string& errorId) {
    std::lock_guard guard(catalogue().lock);
    auto found = catalogue().texts.find(errorId);
    if (found == catalogue().texts.end()) return std::nullopt;
    return found->second;
}

}  // namespace orrery::reference

void orrery::omAddMessageText(const char* errorId, const std::u16string& text) {
    orrery::reference::addMessageText(errorId ? errorId : "", text);
}

namespace foundation::core::except {

IException::~IException() = default;

std::string IUserException::convert_str() const { return fl::i18n::ustring_to_utf8(ToUstringImpl()); }

IMsgIDException::IMsgIDException(Message message)
    : message_(std::move(message)), errorId_(message_.component + ":" + message_.id) {
    text_ = fl::i18n::ustring_to_utf8(GetUnicodeMessageTxt());
}

std::u16string IMsgIDException::GetUnicodeMessageTxt() const {
    const std::optional<std::u16string> pattern = orrery::reference::findMessageText(errorId_);
    if (!pattern) return orrery::reference::utf8ToUtf16("Unknown message " + errorId_ + ".");
    std::u16string out;
    for (std::size_t i = 0; i < pattern->size(); ++i) {
        const char16_t c = (*pattern)[i];
        if (c == u'{' && i + 2 < pattern->size() && (*pattern)[i + 2] == u'}' && (*pattern)[i + 1] >= u'0' &&
            (*pattern)[i + 1] <= u'9') {
            std::size_t index = static_cast<std::size_t>((*pattern)[i + 1] - u'0');
            if (index < message_.arguments.size()) out += orrery::reference::argumentText(message_.arguments[index]);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string IMsgIDException::ToUstringImpl() const { return GetUnicodeMessageTxt(); }

}  // namespace foundation::core::except
