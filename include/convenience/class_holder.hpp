#pragma once

#include <memory>
#include <variant>

#include "host/interned.hpp"

namespace orrery::convenience {

struct COSClassInfoStruct;

// The class a member belongs to: a host class by id (attached to a host class), or the
// class record it was linked to.
using ClassHolder = std::variant<COSInternedBase<IdEmptyPolicy>, std::shared_ptr<COSClassInfoStruct>>;

}  // namespace orrery::convenience
