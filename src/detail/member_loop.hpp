#pragma once

#include <memory>

#include "convenience/class_info_struct.hpp"

namespace orrery::convenience::detail {

// A class record and the member records it lists keep each other alive (the members
// hold the class through classHolder) until publishing empties the lists. When only
// `outsideShares` shares from outside reach the record (an adaptor, a namespace's list)
// and nothing else holds the members, that loop is garbage: the record lets go of its
// members and true comes back. Otherwise nothing changes.
bool releaseUnreachableMemberLoop(const std::shared_ptr<COSClassInfoStruct>& record, long outsideShares) noexcept;

}  // namespace orrery::convenience::detail
