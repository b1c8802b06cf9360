#include "convenience/typed/declared_error.hpp"

#include <stdexcept>
#include <utility>

#include "convenience/values.hpp"
#include "host/assumed_operations.hpp"

namespace orrery::convenience::typed {
namespace {

// "bank:Overdraft" is the component "bank" and the id "Overdraft"; components may hold
// colons themselves ("LUMEN:orrery_typed"), ids do not.
std::pair<std::string, std::string> split(const std::string& errorId) {
    const std::size_t colon = errorId.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == errorId.size())
        throw std::invalid_argument("error id \"" + errorId + "\" must be \"component:id\"");
    return {errorId.substr(0, colon), errorId.substr(colon + 1)};
}

}  // namespace

void declareErrorText(const std::string& errorId, const std::string& utf8Text) {
    split(errorId);
    omAddMessageText(errorId.c_str(), values::utf8ToUtf16(utf8Text));
}

void raiseDeclaredError(const std::string& errorId, std::vector<foundation::core::except::MessageArgument> arguments) {
    auto [component, id] = split(errorId);
    throw PluginError(foundation::core::except::Message{std::move(arguments), std::move(component), std::move(id)});
}

}  // namespace orrery::convenience::typed
