#pragma once

// The host's error framework: message-ID exceptions and UTF-16 to UTF-8 conversion.

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "host/host_export.hpp"

namespace foundation::core::except {

using MessageArgument = std::variant<std::int64_t, std::string, std::u16string>;

// A catalogued message: its arguments, the component and the id within the component.
struct Message {
    std::vector<MessageArgument> arguments;
    std::string component;
    std::string id;
};

class ORRERY_HOST_API IException {
public:
    virtual ~IException();
    virtual const char* what() const noexcept = 0;
};

class ORRERY_HOST_API IUserException : public IException {
public:
    // The message text in UTF-8.
    virtual std::string convert_str() const;
    virtual std::u16string ToUstringImpl() const = 0;
};

// An error identified by "component:id", whose text comes from the message catalogue.
class ORRERY_HOST_API IMsgIDException : public IUserException {
public:
    explicit IMsgIDException(Message message);

    const char* get_error_id() const noexcept { return errorId_.c_str(); }
    const Message& message() const noexcept { return message_; }
    // The catalogue text with the arguments filled in.
    std::u16string GetUnicodeMessageTxt() const;
    std::u16string ToUstringImpl() const override;
    const char* what() const noexcept override { return text_.c_str(); }

private:
    Message message_;
    std::string errorId_;
    std::string text_;
};

// One error kind, named by its tag type; thrown by value.
template <class Tag, class StdBase = std::exception, class Extra = void>
class ORRERY_HOST_TEMPLATE_VISIBLE Exception : public IMsgIDException, public StdBase {
public:
    explicit Exception(Message message) : IMsgIDException(std::move(message)) {}
    const char* what() const noexcept override { return IMsgIDException::what(); }
};

}  // namespace foundation::core::except

namespace fl::i18n {
ORRERY_HOST_API std::string ustring_to_utf8(const std::u16string& text);
}
