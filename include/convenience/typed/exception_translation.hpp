#pragma once

// Turning a plugin's C++ exceptions into host errors. A translator registered for an
// exception type E receives every E (and subclass of E) that bound code throws and raises
// the host error it stands for, typically through a DeclaredError. When several registered
// types match, the most derived one's translator runs, whatever the order of registration.
// Exceptions no translator takes stay LUMEN:orrery_typed:CppException with their what().
// Typed members translate on their own; a raw hook calls raiseCurrentException in its
// catch block, or runs its body through translatingExceptions.
//
//     typed::translateException<bank::Overdrawn>([](const bank::Overdrawn& e) {
//         overdraft.raise(e.amount, e.balance);
//     });
//
// Translators are kept per shared library, like class bindings: each plugin has its own.

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "convenience/typed/errors.hpp"
#include "host/exception.hpp"

namespace orrery::convenience::typed {

namespace detail {

struct ExceptionTranslator {
    /// Throws a null pointer of the translator's exception type.
    void (*throwPointer)();
    /// Whether a pointer thrown by that function converts to a pointer of this type.
    bool (*catchesPointerFrom)(void (*)());
    /// Runs the translator when the exception is of its type.
    std::function<void(const std::exception_ptr&)> apply;
};

template <class E>
void throwPointer() {
    throw static_cast<const E*>(nullptr);
}

template <class E>
bool catchesPointerFrom(void (*thrower)()) {
    try {
        thrower();
    } catch (const E*) {
        return true;
    } catch (...) {}
    return false;
}

// Not thread-safe: translators are registered while a plugin loads, before any call.
inline std::vector<ExceptionTranslator> exceptionTranslators;

}  // namespace detail

/// Registers `translate(const E&)`, which raises the host error for an E; one that returns
/// leaves the exception to the next matching translator, or to CppException. Registering
/// E again replaces its translator.
template <class E, class F>
void translateException(F translate) {
    auto& translators = detail::exceptionTranslators;
    detail::ExceptionTranslator entry{&detail::throwPointer<E>, &detail::catchesPointerFrom<E>,
                                      [translate = std::move(translate)](const std::exception_ptr& error) {
                                          try {
                                              std::rethrow_exception(error);
                                          } catch (const E& exception) {
                                              translate(exception);
                                          } catch (...) {}
                                      }};
    auto position = translators.begin();
    for (; position != translators.end(); ++position) {
        if (position->throwPointer == entry.throwPointer) {
            *position = std::move(entry);
            return;
        }
        // Before the first registered base of E, so that E's translator is tried first.
        if (position->catchesPointerFrom(entry.throwPointer)) break;
    }
    translators.insert(position, std::move(entry));
}

/// Forgets every translator of this library.
inline void clearExceptionTranslators() noexcept { detail::exceptionTranslators.clear(); }

/// In a catch block: raises the exception being handled as a host error. Host errors pass
/// unchanged, registered types go through their translator, anything else becomes
/// CppExceptionError naming `member` ("bank.Account.withdraw").
[[noreturn]] inline void raiseCurrentException(const std::string& member) {
    const std::exception_ptr error = std::current_exception();
    if (!error) raiseCppException(member, "no exception");
    try {
        std::rethrow_exception(error);
    } catch (const foundation::core::except::IMsgIDException&) {
        throw;
    } catch (...) {}
    for (const auto& translator : detail::exceptionTranslators) translator.apply(error);
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        raiseCppException(member, exception.what());
    } catch (...) {
        raiseCppException(member, "an exception that is not a std::exception");
    }
}

/// Runs `body`, raising what it throws as raiseCurrentException does.
template <class F>
decltype(auto) translatingExceptions(const std::string& member, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        raiseCurrentException(member);
    }
}

}  // namespace orrery::convenience::typed
