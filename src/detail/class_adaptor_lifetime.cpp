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
// it frees the first one's adaptor.
struct Population {
    const void* adaptor;
    const void* record;  // compared only while the adaptor, which holds it, lives
    COSClass* cosClass;
    bool settled;  // the population ran to its end
};

struct Populations {
    std::mutex lock;
    std::uint64_t lastToken = 0;
    std::unordered_map<const void*, std::uint64_t> byAdaptor;
    std::unordered_map<std::uint64_t, Population> live;  // whose adaptor still exists
};

Populations& populations() {
    // Never destroyed: hosts may free adaptors during static destruction.
    static auto* instance = new Populations();
    return *instance;
}

}  // namespace

bool noteClassAdaptorPopulated(const void* adaptor, const COSClassInfoStruct& record, COSClass* cosClass) noexcept {
    const void* tracker = &record;
    const HostClassPopulation current = populationOf(record);
    auto& p = populations();
    std::lock_guard guard(p.lock);
    try {
        if (auto previous = p.byAdaptor.find(adaptor); previous != p.byAdaptor.end()) p.live.erase(previous->second);
        const std::uint64_t token = ++p.lastToken;
        p.byAdaptor.insert_or_assign(adaptor, token);
        p.live.insert_or_assign(token, Population{adaptor, tracker, cosClass, false});
        // A record listed twice (in two namespaces, say) is populated once per listing,
        // each time into another host class. Its members went to the first, and its
        // constructors take their class from cosClass: the first class stays the
        // record's while it lives.
        auto held = p.live.find(current.token);
        if (held != p.live.end() && held->second.adaptor != adaptor && held->second.settled &&
            record.cosClass == current.hostClass && current.hostClass != cosClass)
            return false;
        setPopulation(record, {token, cosClass});
    } catch (...) {
        // Out of memory: the record takes the class, as it would without this bookkeeping.
    }
    return true;
}

void noteClassAdaptorSettled(const void* adaptor) noexcept {
    auto& p = populations();
    std::lock_guard guard(p.lock);
    if (auto found = p.byAdaptor.find(adaptor); found != p.byAdaptor.end())
        if (auto population = p.live.find(found->second); population != p.live.end()) population->second.settled = true;
}

bool isReleasedHostClass(const COSClassInfoStruct& record) noexcept {
    const HostClassPopulation current = populationOf(record);
    if (current.token == 0 || record.cosClass != current.hostClass) return false;  // not ours to judge
    auto& p = populations();
    std::lock_guard guard(p.lock);
    return p.live.count(current.token) == 0;
}

std::vector<COSClass*> otherHostClassesOf(const COSClassInfoStruct& record) {
    const void* tracker = &record;
    std::vector<COSClass*> others;
    auto& p = populations();
    std::lock_guard guard(p.lock);
    for (const auto& [token, population] : p.live)
        if (population.record == tracker && population.cosClass != record.cosClass &&
            std::find(others.begin(), others.end(), population.cosClass) == others.end())
            others.push_back(population.cosClass);
    return others;
}

void releaseClassAdaptor(const void* adaptor, const std::shared_ptr<COSClassInfoStruct>& record) noexcept {
    if (!record) return;
    std::uint64_t token = 0;
    {
        auto& p = populations();
        std::lock_guard guard(p.lock);
        auto found = p.byAdaptor.find(adaptor);
        if (found != p.byAdaptor.end()) {
            token = found->second;
            p.live.erase(token);
            p.byAdaptor.erase(found);
        }
    }
    if (token != 0) {
        // The host frees the class with its adaptor; the record lets go of it unless a
        // later population (through another adaptor) has given it another since.
        const HostClassPopulation current = populationOf(*record);
        if (current.token == token && record->cosClass == current.hostClass) {
            record->cosClass = nullptr;
            record->cosClient = nullptr;
        }
        return;
    }
    if (!record->cosClass) releaseUnreachableMemberLoop(record, 1);
}

}  // namespace orrery::convenience::detail
