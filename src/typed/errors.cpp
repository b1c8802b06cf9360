#include "convenience/typed/errors.hpp"

#include <utility>
#include <vector>

namespace orrery::convenience::typed {
namespace {

using foundation::core::except::Message;
using foundation::core::except::MessageArgument;

template <class Tag>
[[noreturn]] void raise(const char* id, std::vector<MessageArgument> arguments) {
    throw TypedError<Tag>(Message{std::move(arguments), errorComponent, id});
}

}  // namespace

void raiseWrongInputCount(const std::string& member, const std::string& expected, std::int64_t count) {
    raise<LUMEN::orrery_typed::WrongInputCount>("WrongInputCount", {member, expected, count});
}

void raiseTooManyOutputs(const std::string& member, const std::string& outputs, std::int64_t count) {
    raise<LUMEN::orrery_typed::TooManyOutputs>("TooManyOutputs", {member, outputs, count});
}

void raiseBadInput(const std::string& member, std::int64_t position, const std::string& name,
                   const std::string& expected, const std::string& arrived) {
    raise<LUMEN::orrery_typed::BadInput>("BadInput", {member, position, name, expected, arrived});
}

void raiseBadPropertyValue(const std::string& property, const std::string& expected, const std::string& arrived) {
    raise<LUMEN::orrery_typed::BadPropertyValue>("BadPropertyValue", {property, expected, arrived});
}

void raiseInvalidObject(const std::string& member, const std::string& className, const std::string& arrived) {
    raise<LUMEN::orrery_typed::InvalidObject>("InvalidObject", {member, className, arrived});
}

void raiseReadOnlyProperty(const std::string& property) {
    raise<LUMEN::orrery_typed::ReadOnlyProperty>("ReadOnlyProperty", {property});
}

void raiseAbstractMember(const std::string& member) {
    raise<LUMEN::orrery_typed::AbstractMember>("AbstractMember", {member});
}

void raiseCppException(const std::string& member, const std::string& what) {
    raise<LUMEN::orrery_typed::CppException>("CppException", {member, what});
}

void raiseClassNotAvailable(const std::string& member, const std::string& className) {
    raise<LUMEN::orrery_typed::ClassNotAvailable>("ClassNotAvailable", {member, className});
}

}  // namespace orrery::convenience::typed
