#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "convenience/detail/record_tracker.hpp"
#include "detail/spin_lock.hpp"

namespace orrery::convenience::detail {

// The shares that stand for a record that no shared pointer owns: the record holds the
// only one, made on the first request for its identity, and lets it go as it leaves the
// ledger.
struct RecordLife {
    std::shared_ptr<const void> shares;
};

// What a hook that may outlive its record keeps to tell whether the record is gone,
// without ever reading the record's address or memory: a weak count of the record's own
// shares when a shared pointer owns it (the usual case, and free), else of its life's.
class RecordIdentity {
public:
    // Watches nothing, and so counts as gone.
    RecordIdentity() noexcept = default;
    explicit RecordIdentity(std::weak_ptr<const void> shares) noexcept : shares_(std::move(shares)) {}

    // A record watched through a shared pointer's shares counts as gone once none owns it.
    bool isAlive() const noexcept { return !shares_.expired(); }

private:
    std::weak_ptr<const void> shares_;
};

// The ledger's own reach into a record's tracker.
struct LedgerAccess {
    template <RecordKind Kind>
    static LedgerLink& link(RecordTracker<Kind>& tracker) noexcept {
        return tracker.link_;
    }
    template <RecordKind Kind>
    static constexpr std::size_t linkOffset() noexcept {
        return offsetof(RecordTracker<Kind>, link_);
    }
    static HostClassPopulation& population(const RecordTracker<RecordKind::classRecord>& tracker) noexcept {
        return tracker.population_;
    }
};

// The record a link belongs to: the link is a member of the tracker, the tracker a base
// of the record.
template <class Record, RecordKind Kind>
const Record& recordOf(const LedgerLink& link) noexcept {
    static_assert(std::is_standard_layout_v<RecordTracker<Kind>>);
    const auto* tracker = reinterpret_cast<const RecordTracker<Kind>*>(reinterpret_cast<const char*>(&link) -
                                                                       LedgerAccess::linkOffset<Kind>());
    return static_cast<const Record&>(*tracker);
}

// How a report reads the name of a record of each kind; defined beside each record, so
// that the ledger knows no record type.
template <RecordKind Kind>
const std::string& recordName(const LedgerLink& link) noexcept;
// No record is larger (each record's source checks): a seal lies within this distance
// of its own record's link.
inline constexpr std::size_t recordSizeBound = 2048;
template <>
const std::string& recordName<RecordKind::classRecord>(const LedgerLink& link) noexcept;
template <>
const std::string& recordName<RecordKind::property>(const LedgerLink& link) noexcept;
template <>
const std::string& recordName<RecordKind::method>(const LedgerLink& link) noexcept;
template <>
const std::string& recordName<RecordKind::constructor>(const LedgerLink& link) noexcept;
template <>
const std::string& recordName<RecordKind::namespaceRecord>(const LedgerLink& link) noexcept;
template <>
const std::string& recordName<RecordKind::function>(const LedgerLink& link) noexcept;

RecordIdentity identityOf(LedgerLink& link);

// The identity of a record (any record type: each derives from its tracker and from
// std::enable_shared_from_this). Taking it allocates only for a record that no shared
// pointer owns.
template <class Record>
RecordIdentity identityOf(Record& record) {
    if (std::weak_ptr<Record> owner = record.weak_from_this(); !owner.expired())
        return RecordIdentity(std::weak_ptr<const void>(std::move(owner)));
    return identityOf(LedgerAccess::link(record));
}

// The ledger's lock. The host class population bookkeeping takes it too, to read and
// write a record's population (LedgerAccess::population) and its own tables in one step.
SpinLock& ledgerLock() noexcept;

// While one lives, the next new record this thread makes stays out of the ledger until
// enter() is called with it: a factory names its record first, with no lock, since no
// report can see a record that is not entered.
class DeferredEntry {
public:
    DeferredEntry() noexcept;
    ~DeferredEntry();
    DeferredEntry(const DeferredEntry&) = delete;
    DeferredEntry& operator=(const DeferredEntry&) = delete;
    // Whether the record is the one held back.
    bool holds(const LedgerLink& link) const noexcept;
    void enter(LedgerLink& link) noexcept;

private:
    void* state_;  // this thread's, looked up once
};

// Writes a record's name from the library's own operations (a factory's name, a
// constructor named after its class, a dotted namespace path cut to its last part) while
// no report reads it.
void assignName(std::string& field, std::string text);

// Makes a record with std::make_shared and names it before it enters the ledger.
template <class Record, class Text>
std::shared_ptr<Record> makeNamedRecord(Text&& text) {
    DeferredEntry deferred;
    auto record = std::make_shared<Record>();
    LedgerLink& link = LedgerAccess::link(*record);
    if (!deferred.holds(link)) {
        assignName(record->name, std::string(std::forward<Text>(text)));
        return record;
    }
    record->name = std::forward<Text>(text);  // throws: the record dies unentered
    deferred.enter(link);
    return record;
}

// For the leak report: calls `visit(context, kind, name)` for every live record, oldest
// first, under the ledger's lock (`visit` must not make or destroy records). The name is
// null while one of the record's own operations changes it.
using LiveRecordVisitor = void (*)(void* context, RecordKind kind, const std::string* name);
void visitLiveRecords(LiveRecordVisitor visit, void* context);
std::size_t countLiveRecords() noexcept;

}  // namespace orrery::convenience::detail
