#pragma once

// A plugin's own host errors: declared once with their id and message text, raised with
// arguments. The text reaches the host's message catalogue when the error is declared
// (omAddMessageText, host/assumed_operations.hpp), so the host shows it like its own.
// Usable from raw hooks as well as from typed members.
//
//     const orrery::convenience::typed::DeclaredError overdraft(
//         "bank:Overdraft", "Cannot withdraw {0}: the balance is only {1}.");
//     ...
//     if (amount > balance) overdraft.raise(amount, balance);   // a PluginError, id "bank:Overdraft"

#include <charconv>
#include <concepts>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "convenience/export.hpp"
#include "host/exception.hpp"

namespace orrery::convenience::typed {

struct ORRERY_CONVENIENCE_API PluginErrorTag;
/// What a declared error raises: a host message-ID error carrying the declared id.
using PluginError = foundation::core::except::Exception<PluginErrorTag, std::exception, void>;

/// Adds the text of the error "component:id" to the host's catalogue ({0}, {1}, ... stand
/// for the arguments). std::invalid_argument for an id without a component or an id part.
ORRERY_CONVENIENCE_API void declareErrorText(const std::string& errorId, const std::string& utf8Text);
/// Raises the error "component:id" with the arguments, as a PluginError.
[[noreturn]] ORRERY_CONVENIENCE_API void raiseDeclaredError(
    const std::string& errorId, std::vector<foundation::core::except::MessageArgument> arguments);

namespace detail {
// Text passes as it is, whole numbers as host integers, other numbers as their shortest
// decimal text (the host's message arguments have no floating type).
inline foundation::core::except::MessageArgument messageArgument(std::string_view text) { return std::string(text); }
inline foundation::core::except::MessageArgument messageArgument(std::u16string_view text) {
    return std::u16string(text);
}
inline foundation::core::except::MessageArgument messageArgument(const char* text) { return std::string(text); }
inline foundation::core::except::MessageArgument messageArgument(const char16_t* text) { return std::u16string(text); }
inline foundation::core::except::MessageArgument messageArgument(bool flag) {
    return std::string(flag ? "true" : "false");
}
template <class N>
concept WholeNumber = std::integral<N> && !std::same_as<N, bool>;

template <WholeNumber N>
foundation::core::except::MessageArgument messageArgument(N number) {
    return static_cast<std::int64_t>(number);
}
template <std::floating_point N>
foundation::core::except::MessageArgument messageArgument(N number) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, written.ptr);
}
}  // namespace detail

/// One error of a plugin: its id ("component:id") and its message text. Declare it once
/// (a global or a static); each declaration sends the text to the host again.
class DeclaredError {
public:
    DeclaredError(std::string errorId, const std::string& utf8Text) : id_(std::move(errorId)) {
        declareErrorText(id_, utf8Text);
    }

    const std::string& id() const noexcept { return id_; }

    /// Raises the error; each argument is text (std::string, std::u16string, a literal)
    /// or a number, filling {0}, {1}, ... in order.
    template <class... Args>
    [[noreturn]] void raise(const Args&... args) const {
        raiseDeclaredError(id_, {detail::messageArgument(args)...});
    }

private:
    std::string id_;
};

}  // namespace orrery::convenience::typed
