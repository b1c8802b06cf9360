#include "convenience/detail/class_adaptor_lifetime.hpp"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <variant>

#include "class/member_loop.hpp"
#include "convenience/class_info_struct.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"

namespace orrery::convenience::detail {
namespace {

struct Populated {
    std::mutex lock;
    std::unordered_map<const void*, COSClass*> byAdaptor;
    // Host classes whose populating adaptor is gone. An address leaves the set when a new
    // host class at that address is populated.
    std::unordered_set<const COSClass*> released;
};

Populated& populated() {
    // Never destroyed: hosts may free adaptors during static destruction.
    static auto* instance = new Populated();
    return *instance;
}

COSClass* forget(const void* adaptor) noexcept {
    auto& p = populated();
    std::lock_guard guard(p.lock);
    auto found = p.byAdaptor.find(adaptor);
    if (found == p.byAdaptor.end()) return nullptr;
    COSClass* cosClass = found->second;
    p.byAdaptor.erase(found);
    try {
        p.released.insert(cosClass);
    } catch (...) {
        // Out of memory: copies of the record keep a pointer that cannot be told from a
        // live one, as they would without this bookkeeping.
    }
    return cosClass;
}

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

void noteClassAdaptorPopulated(const void* adaptor, COSClass* cosClass) noexcept {
    auto& p = populated();
    std::lock_guard guard(p.lock);
    try {
        p.byAdaptor.insert_or_assign(adaptor, cosClass);
        p.released.erase(cosClass);
    } catch (...) {
        // Out of memory: the record then keeps its host class after the adaptor goes,
        // as it would without this bookkeeping.
    }
}

bool isReleasedHostClass(const COSClass* cosClass) noexcept {
    auto& p = populated();
    std::lock_guard guard(p.lock);
    return p.released.count(cosClass) != 0;
}

void releaseClassAdaptor(const void* adaptor, const std::shared_ptr<COSClassInfoStruct>& record) noexcept {
    if (!record) return;
    if (COSClass* cosClass = forget(adaptor)) {
        if (record->cosClass == cosClass) {
            record->cosClass = nullptr;
            record->cosClient = nullptr;
        }
        return;
    }
    if (!record->cosClass) releaseUnreachableMemberLoop(record, 1);
}

}  // namespace orrery::convenience::detail
