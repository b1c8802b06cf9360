#include "detail/member_loop.hpp"

#include <algorithm>
#include <variant>
#include <vector>

#include "convenience/constructor_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"

namespace orrery::convenience::detail {
namespace {

bool holdsClass(const ClassHolder& holder, const COSClassInfoStruct* record) {
    const auto* held = std::get_if<1>(&holder);
    return held && held->get() == record;
}

// Counts the members that point back at the record and are held by nothing but the
// record's lists; false as soon as one member is held from anywhere else.
template <class Member>
bool countCycleMembers(const std::vector<std::shared_ptr<Member>>& list, const COSClassInfoStruct* record,
                       std::vector<const void*>& seen) {
    for (const auto& member : list) {
        if (!member) continue;
        if (std::find(seen.begin(), seen.end(), member.get()) != seen.end()) continue;
        seen.push_back(member.get());
        long inList = std::count(list.begin(), list.end(), member);
        if (!holdsClass(member->classHolder, record) || member.use_count() != inList) return false;
    }
    return true;
}

}  // namespace

bool releaseUnreachableMemberLoop(const std::shared_ptr<COSClassInfoStruct>& record, long outsideShares) noexcept {
    // Held from outside by exactly the expected shares, and otherwise only by members
    // that nothing but the record's own lists holds?
    std::vector<const void*> members;
    try {
        if (!countCycleMembers(record->propertyRecords, record.get(), members) ||
            !countCycleMembers(record->methodRecords, record.get(), members) ||
            !countCycleMembers(record->constructorRecords, record.get(), members))
            return false;
    } catch (...) {
        return false;  // out of memory: leave the loop; the ledger still names it
    }
    if (record.use_count() != outsideShares + static_cast<long>(members.size())) return false;
    // Moved out first: the members' destruction releases their hold on the record,
    // which the outside shares still keep alive until the caller is done.
    auto properties = std::move(record->propertyRecords);
    auto methods = std::move(record->methodRecords);
    auto constructors = std::move(record->constructorRecords);
    record->propertyRecords.clear();
    record->methodRecords.clear();
    record->constructorRecords.clear();
    return true;
}

}  // namespace orrery::convenience::detail
