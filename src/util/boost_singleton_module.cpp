// Boost.Serialization's singleton_module lock functions are part of this library's
// export table. They are Boost's own inline members, emitted here from Boost's header:
// get_lock is marked used there, the other three are instantiated by taking their
// addresses, and this file is compiled with default visibility for inline functions.
#include <kvboost/serialization/singleton.hpp>

namespace {

using Module = kvboost::serialization::singleton_module;

struct LockFunctions {
    void (Module::*lock)();
    void (Module::*unlock)();
    bool (Module::*isLocked)();
};

[[gnu::used]] const LockFunctions lockFunctions{&Module::lock, &Module::unlock, &Module::is_locked};

}  // namespace
