#pragma once

// ClassHolder: how a property, method or constructor record names the class it belongs to.

#include <memory>
#include <variant>

#include "host/interned.hpp"

namespace orrery::convenience {

struct COSClassInfoStruct;

/// The class a member belongs to: a host class by id (the member was attached to a host
/// class; the empty id until then), or the class record it was linked to.
using ClassHolder = std::variant<COSInternedBase<IdEmptyPolicy>, std::shared_ptr<COSClassInfoStruct>>;

}  // namespace orrery::convenience
