#include "convenience/detail/class_adaptor_lifetime.hpp"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <variant>

#include "convenience/class_info_struct.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"
#include "detail/class_populations.hpp"
#include "detail/member_loop.hpp"
#include "detail/record_ledger.hpp"

namespace orrery::convenience::detail {
namespace {

// Each population of a host class by a class adaptor gets a serial of its own, kept
// with the record (the ledger carries it along with copies, as cosClass is carried).
// Whether a record's host class is still alive is decided by that serial, never by the
// class's address: the host may free a class and make another at the same address before
// it frees the first one's adaptor, and a new adaptor may take a freed one's address.
struct Population {
    std::uint64_t token;
    const void* record;  // compared only while the adaptor, which holds it, lives
    COSClass* cosClass;
};

// The latest population of every live adaptor that populated a class. Guarded by the
// ledger's lock, which also guards the records' own populations.
struct Populations {
    std::uint64_t lastToken = 0;
    std::unordered_map<const void*, Population> byAdaptor;
};

Populations& populations() {
    // Never destroyed: hosts may free adaptors during static destruction.
    static auto* instance = new Populations();
    return *instance;
}

// The population a record carries, while its adaptor lives and has not populated again.
const Population* livePopulation(const Populations& p, const HostClassPopulation& carried) {
    if (carried.token == 0) return nullptr;
    auto found = p.byAdaptor.find(carried.adaptor);
    return found != p.byAdaptor.end() && found->second.token == carried.token ? &found->second : nullptr;
}

}  // namespace

void noteClassAdaptorPopulated(const void* adaptor, const COSClassInfoStruct& record, COSClass* cosClass) noexcept {
    auto& p = populations();
    std::lock_guard guard(ledgerLock());
    try {
        // A population through the same adaptor again replaces its earlier one. A record
        // listed twice takes each class it is populated into, the last one staying.
        const std::uint64_t token = ++p.lastToken;
        p.byAdaptor.insert_or_assign(adaptor, Population{token, &record, cosClass});
        LedgerAccess::population(record) = {token, cosClass, adaptor};
    } catch (...) {
        // Out of memory: the record takes the class all the same, unwatched.
    }
}

bool isReleasedHostClass(const COSClassInfoStruct& record) noexcept {
    auto& p = populations();
    std::lock_guard guard(ledgerLock());
    const HostClassPopulation current = LedgerAccess::population(record);
    if (current.token == 0 || record.cosClass != current.hostClass) return false;  // not ours to judge
    return livePopulation(p, current) == nullptr;
}

std::vector<COSClass*> otherHostClassesOf(const COSClassInfoStruct& record) {
    const void* tracker = &record;
    std::vector<COSClass*> others;
    auto& p = populations();
    std::lock_guard guard(ledgerLock());
    for (const auto& [adaptor, population] : p.byAdaptor)
        if (population.record == tracker && population.cosClass != record.cosClass &&
            std::find(others.begin(), others.end(), population.cosClass) == others.end())
            others.push_back(population.cosClass);
    return others;
}

void releaseClassAdaptor(const void* adaptor, const std::shared_ptr<COSClassInfoStruct>& record) noexcept {
    if (!record) return;
    std::uint64_t token = 0;
    HostClassPopulation current;
    {
        auto& p = populations();
        std::lock_guard guard(ledgerLock());
        auto found = p.byAdaptor.find(adaptor);
        if (found != p.byAdaptor.end()) {
            token = found->second.token;
            p.byAdaptor.erase(found);
        }
        current = LedgerAccess::population(*record);
    }
    if (token != 0) {
        // The host frees the class with its adaptor; the record lets go of it unless a
        // later population (through another adaptor) has given it another since.
        if (current.token == token && record->cosClass == current.hostClass) {
            record->cosClass = nullptr;
            record->cosClient = nullptr;
        }
        return;
    }
    if (!record->cosClass) releaseUnreachableMemberLoop(record, 1);
}

}  // namespace orrery::convenience::detail
