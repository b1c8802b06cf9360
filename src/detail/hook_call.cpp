#include "convenience/detail/hook_call.hpp"

#include <stdexcept>

namespace orrery::convenience::detail {

void reportHookReplacedItself(const char* hookName, const std::string& recordName) {
    throw std::logic_error(std::string(hookName) + " of \"" + recordName +
                           "\" replaced or cleared itself while it ran; a hook must leave its own field alone "
                           "(install a successor from outside the hook)");
}

}  // namespace orrery::convenience::detail
