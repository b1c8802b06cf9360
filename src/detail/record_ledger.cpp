#include <algorithm>
#include <memory_resource>
#include <mutex>
#include <new>
#include <sstream>
#include <unordered_map>

#include "convenience/class_info_struct.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "convenience/detail/record_tracker.hpp"
#include "convenience/diagnostics/live_records.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/namespace_function_info_struct.hpp"
#include "convenience/namespace_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"
#include "detail/record_ledger.hpp"

namespace orrery::convenience {
namespace {

using detail::RecordKind;

struct Entry {
    RecordKind kind;
    std::uint64_t serial;
    detail::HostClassPopulation population;
};

// Records this thread has begun and not yet entered: the innermost last. A record's
// fields may make records of their own (a hook holding one by value), hence a stack;
// plain storage, so that it needs no destructor at thread exit.
struct Pending {
    static constexpr int room = 8;
    const void* tracker[room];
    RecordKind kind[room];
    detail::HostClassPopulation population[room];
    int depth = 0;  // may pass room: those records are not tracked
};
thread_local constinit Pending pending{};

struct Ledger {
    std::mutex lock;
    // Every record made and destroyed passes through here: its nodes come from a pool
    // that keeps freed ones for the next record, not from malloc and back every time.
    std::pmr::unsynchronized_pool_resource pool;
    std::pmr::unordered_map<const void*, Entry> entries{&pool};
    std::uint64_t lastSerial = 0;
};

Ledger& ledger() {
    // Never destroyed: records kept in globals die during static destruction.
    static auto* instance = new Ledger();
    return *instance;
}

// The tracker is a base of the record; the kind says which record it is part of.
template <class Record, RecordKind Kind>
const std::string& nameOf(const void* tracker) {
    return static_cast<const Record*>(static_cast<const detail::RecordTracker<Kind>*>(tracker))->name;
}

std::pair<const char*, const std::string*> describeEntry(const void* tracker, RecordKind kind) {
    switch (kind) {
        case RecordKind::classRecord: return {"class", &nameOf<COSClassInfoStruct, RecordKind::classRecord>(tracker)};
        case RecordKind::property: return {"property", &nameOf<COSPropInfoStruct, RecordKind::property>(tracker)};
        case RecordKind::method: return {"method", &nameOf<COSMethodInfoStruct, RecordKind::method>(tracker)};
        case RecordKind::constructor:
            return {"constructor", &nameOf<COSConstructorInfoStruct, RecordKind::constructor>(tracker)};
        case RecordKind::namespaceRecord:
            return {"namespace", &nameOf<COSNamespaceInfoStruct, RecordKind::namespaceRecord>(tracker)};
        case RecordKind::function:
            return {"function", &nameOf<COSNamespaceFunctionInfoStruct, RecordKind::function>(tracker)};
    }
    return {"record", nullptr};
}

}  // namespace

namespace detail {

void beginRecord(const void* tracker, RecordKind kind, const void* source) noexcept {
    const int at = pending.depth++;
    if (at >= Pending::room) return;
    pending.tracker[at] = tracker;
    pending.kind[at] = kind;
    pending.population[at] = source ? populationOf(source) : HostClassPopulation{};
}

void completeRecord() noexcept {
    if (pending.depth == 0) return;  // a seal made outside a record: nothing begun
    const int at = --pending.depth;
    if (at >= Pending::room) return;
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    try {
        l.entries.insert_or_assign(pending.tracker[at],
                                   Entry{pending.kind[at], ++l.lastSerial, pending.population[at]});
    } catch (const std::bad_alloc&) {
        // not tracked; the record itself is fine
    }
}

void leaveRecord(const void* tracker) noexcept {
    // A record whose construction failed after its tracker began it never entered.
    const int top = pending.depth - 1;
    if (top >= 0 && top < Pending::room && pending.tracker[top] == tracker) {
        --pending.depth;
        return;
    }
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    l.entries.erase(tracker);
}

void assignRecord(const void* tracker, const void* source) noexcept {
    if (tracker == source) return;
    setPopulation(tracker, populationOf(source));
}

HostClassPopulation populationOf(const void* tracker) noexcept {
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    auto found = l.entries.find(tracker);
    return found == l.entries.end() ? HostClassPopulation{} : found->second.population;
}

void setPopulation(const void* tracker, HostClassPopulation population) noexcept {
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    auto found = l.entries.find(tracker);
    if (found != l.entries.end()) found->second.population = population;
}

void assignName(std::string& field, std::string text) {
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    field.swap(text);
}

std::uint64_t recordSerial(const void* tracker) noexcept {
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    auto found = l.entries.find(tracker);
    return found == l.entries.end() ? 0 : found->second.serial;
}

bool RecordIdentity::isAlive() const noexcept {
    if (serial == 0) return true;
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    auto found = l.entries.find(tracker);
    return found != l.entries.end() && found->second.serial == serial;
}

}  // namespace detail

namespace diagnostics {

std::size_t liveRecordCount() noexcept {
    auto& l = ledger();
    std::lock_guard guard(l.lock);
    return l.entries.size();
}

std::vector<LiveRecord> liveRecords() {
    std::vector<std::pair<std::uint64_t, LiveRecord>> found;
    {
        auto& l = ledger();
        std::lock_guard guard(l.lock);
        for (const auto& [tracker, entry] : l.entries) {
            auto [kind, name] = describeEntry(tracker, entry.kind);
            found.emplace_back(entry.serial, LiveRecord{kind, name ? *name : std::string()});
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LiveRecord> out;
    out.reserve(found.size());
    for (auto& [serial, record] : found) out.push_back(std::move(record));
    return out;
}

std::string describe(const std::vector<LiveRecord>& records) {
    if (records.empty()) return "no records";
    std::ostringstream out;
    for (std::size_t i = 0; i < records.size(); ++i)
        out << (i ? ", " : "") << records[i].kind << " \"" << records[i].name << '"';
    return out.str();
}

}  // namespace diagnostics
}  // namespace orrery::convenience
