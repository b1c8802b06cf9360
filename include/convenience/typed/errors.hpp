#pragma once

// The host errors the typed definition layer raises, all under the message component
// "LUMEN:orrery_typed". Their texts live in the host's message catalogue (the reference
// host has them built in); docs/errors.md lists them.

#include <cstdint>
#include <exception>
#include <string>

#include "convenience/export.hpp"
#include "host/exception.hpp"

namespace LUMEN::orrery_typed {
struct ORRERY_CONVENIENCE_API WrongInputCount;
struct ORRERY_CONVENIENCE_API TooManyOutputs;
struct ORRERY_CONVENIENCE_API BadInput;
struct ORRERY_CONVENIENCE_API BadPropertyValue;
struct ORRERY_CONVENIENCE_API InvalidObject;
struct ORRERY_CONVENIENCE_API ReadOnlyProperty;
struct ORRERY_CONVENIENCE_API AbstractMember;
struct ORRERY_CONVENIENCE_API CppException;
struct ORRERY_CONVENIENCE_API ClassNotAvailable;
}  // namespace LUMEN::orrery_typed

namespace orrery::convenience::typed {

template <class Tag>
using TypedError = foundation::core::except::Exception<Tag, std::exception, void>;

/// "{member} takes {expected}, but was given {count}."
using WrongInputCountError = TypedError<LUMEN::orrery_typed::WrongInputCount>;
/// "{member} gives {outputs}, but {count} were asked for."
using TooManyOutputsError = TypedError<LUMEN::orrery_typed::TooManyOutputs>;
/// "Input {position} ({name}) of {member} must be {expected}, not {arrived}."
using BadInputError = TypedError<LUMEN::orrery_typed::BadInput>;
/// "Property {property} must be set to {expected}, not {arrived}."
using BadPropertyValueError = TypedError<LUMEN::orrery_typed::BadPropertyValue>;
/// "{member} needs a constructed {class} object, not {arrived}."
using InvalidObjectError = TypedError<LUMEN::orrery_typed::InvalidObject>;
/// "Property {property} is read-only."
using ReadOnlyPropertyError = TypedError<LUMEN::orrery_typed::ReadOnlyProperty>;
/// "Method {member} is abstract: a subclass must implement it."
using AbstractMemberError = TypedError<LUMEN::orrery_typed::AbstractMember>;
/// "{member} failed: {what}": a C++ exception from the bound code, by its what() text.
using CppExceptionError = TypedError<LUMEN::orrery_typed::CppException>;
/// "{member} cannot make an object of class {class}: the host has no such class."
using ClassNotAvailableError = TypedError<LUMEN::orrery_typed::ClassNotAvailable>;

/// The message component of every error above.
inline constexpr const char* errorComponent = "LUMEN:orrery_typed";

[[noreturn]] ORRERY_CONVENIENCE_API void raiseWrongInputCount(const std::string& member, const std::string& expected,
                                                              std::int64_t count);
[[noreturn]] ORRERY_CONVENIENCE_API void raiseTooManyOutputs(const std::string& member, const std::string& outputs,
                                                             std::int64_t count);
[[noreturn]] ORRERY_CONVENIENCE_API void raiseBadInput(const std::string& member, std::int64_t position,
                                                       const std::string& name, const std::string& expected,
                                                       const std::string& arrived);
[[noreturn]] ORRERY_CONVENIENCE_API void raiseBadPropertyValue(const std::string& property, const std::string& expected,
                                                               const std::string& arrived);
[[noreturn]] ORRERY_CONVENIENCE_API void raiseInvalidObject(const std::string& member, const std::string& className,
                                                            const std::string& arrived);
[[noreturn]] ORRERY_CONVENIENCE_API void raiseReadOnlyProperty(const std::string& property);
[[noreturn]] ORRERY_CONVENIENCE_API void raiseAbstractMember(const std::string& member);
[[noreturn]] ORRERY_CONVENIENCE_API void raiseCppException(const std::string& member, const std::string& what);
[[noreturn]] ORRERY_CONVENIENCE_API void raiseClassNotAvailable(const std::string& member,
                                                                const std::string& className);

}  // namespace orrery::convenience::typed
