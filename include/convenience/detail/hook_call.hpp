#pragma once

#include <functional>
#include <string>
#include <type_traits>
#include <utility>

#include "convenience/export.hpp"

namespace orrery::convenience::detail {

// Raised (debug builds only) when a hook replaced or cleared itself while it ran.
[[noreturn]] ORRERY_CONVENIENCE_API void reportHookReplacedItself(const char* hookName, const std::string& recordName);

// Calls a record's hook the way every adaptor does. A hook must not replace or clear
// itself while it runs: that destroys the callable that is running. Release builds call
// the field directly, at no cost. Debug builds call a copy, so such a hook still
// finishes safely, and then raise std::logic_error naming the hook and the record.
template <class R, class... Params, class... Args>
R callHook(const std::function<R(Params...)>& hook, [[maybe_unused]] const char* hookName,
           [[maybe_unused]] const std::string& recordName, Args&&... args) {
#ifdef NDEBUG
    return hook(std::forward<Args>(args)...);
#else
    const std::function<R(Params...)> running = hook;
    auto replaced = [&] { return !hook || hook.target_type() != running.target_type(); };
    if constexpr (std::is_void_v<R>) {
        running(std::forward<Args>(args)...);
        if (replaced()) reportHookReplacedItself(hookName, recordName);
    } else {
        R result = running(std::forward<Args>(args)...);
        if (replaced()) reportHookReplacedItself(hookName, recordName);
        return result;
    }
#endif
}

}  // namespace orrery::convenience::detail
