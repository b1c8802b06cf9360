#pragma once
// The attributes worth showing are those a record changed. What a fresh record's adaptor
// answers is found by asking one: probes made through the library on the host, so the
// inspector follows the library's defaults instead of restating them.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "host/class_info.hpp"
#include "host/method_info.hpp"
#include "host/prop_info.hpp"
#include "inspection.hpp"

namespace orrery::inspector {

enum class CallableKind { method, constructor, function };

/// What a query answers: integers of every width are one kind, bool and double stay.
using QueryAnswer = std::variant<bool, std::int64_t, double>;

class Defaults {
public:
    /// Makes the probes: a class, a property, a method, a constructor and a function, in
    /// a class and a package of their own that nothing looks up. The host frees them at
    /// shutdown.
    Defaults();

    /// The answers that differ from a fresh record's.
    std::vector<Difference> of(COSClassInfo& info) const;
    std::vector<Difference> of(COSPropInfo& info) const;
    std::vector<Difference> of(COSMethodInfo& info, CallableKind kind) const;

private:
    std::vector<QueryAnswer> class_, property_, method_, constructor_, function_;
};

/// "public", "protected", "private", "immutable", or the number of a level the host
/// does not name.
std::string accessName(unsigned level);

}  // namespace orrery::inspector
