#pragma once

#include <cstdint>
#include <type_traits>

#include "convenience/export.hpp"

namespace orrery::convenience::detail {

enum class RecordKind : unsigned char { classRecord, property, method, constructor, namespaceRecord, function };

struct RecordLife;

// A record's place in the record ledger: an intrusive list node, so that entering and
// leaving the ledger allocate nothing and hash nothing. Only the ledger touches it, and
// only under its lock.
struct LedgerLink {
    LedgerLink* previous = nullptr;  // neighbours: other threads change them under the lock
    LedgerLink* next = nullptr;
    RecordLife* life = nullptr;  // made when a hook first takes the record's identity
    RecordKind kind;
    bool entered = false;  // written by the record's own thread only, so it reads it unlocked
    // The record's name is being written by one of its own operations (a move from it,
    // an assignment to it): a report leaves it unread until the operation ends.
    bool nameChanging = false;
};

// The host class population that last set a class record's cosClass: a serial of the
// population (0 for none), the class the host handed over and the adaptor that populated
// it. Carried along by copies and assignments, as cosClass is.
struct HostClassPopulation {
    std::uint64_t token = 0;
    const void* hostClass = nullptr;
    const void* adaptor = nullptr;
};
struct NoHostClassPopulation {};

// The record ledger: every live record is entered when it is made and leaves when it
// dies, so that a leak report can name what is still alive. A record enters only once
// all its fields exist and leaves before any of them goes, so that a report taken on
// another thread never reads a field under construction or destruction: a new record
// enters at the end of its constructor's body; a copy or a move, whose constructors are
// the compiler's, is begun by its tracker (the first base) and entered by its seal (the
// last member); the destructor's first step takes a record out. Moves from a record and assignments to one mark its
// name as changing from the tracker's step to the seal's, and a report skips such a name. Nothing here throws: a record
// that cannot be tracked is simply left out.
ORRERY_CONVENIENCE_API void beginRecord(LedgerLink& link, RecordKind kind, LedgerLink* movedFrom,
                                        HostClassPopulation* into, const HostClassPopulation* from) noexcept;
ORRERY_CONVENIENCE_API void completeRecord() noexcept;
ORRERY_CONVENIENCE_API void enterRecord(LedgerLink& link) noexcept;
ORRERY_CONVENIENCE_API void leaveRecord(LedgerLink& link) noexcept;
ORRERY_CONVENIENCE_API void beginAssignment(LedgerLink& target, LedgerLink* movedFrom, HostClassPopulation* into,
                                            const HostClassPopulation* from) noexcept;
ORRERY_CONVENIENCE_API void completeAssignment(const void* seal) noexcept;

// An empty-looking base of every record that holds its ledger link and begins its entry.
// Copies and moves are new records with entries of their own; assignment changes no
// identity.
template <RecordKind Kind>
class RecordTracker {
    static constexpr bool isClass = Kind == RecordKind::classRecord;
    using Population = std::conditional_t<isClass, HostClassPopulation, NoHostClassPopulation>;

protected:
    // A new record enters from its constructor's body (enterLedger), where every field exists.
    RecordTracker() noexcept { link_.kind = Kind; }
    RecordTracker(const RecordTracker& other) noexcept {
        beginRecord(link_, Kind, nullptr, populationOf(*this), carriedFrom(other));
    }
    RecordTracker(RecordTracker&& other) noexcept {
        beginRecord(link_, Kind, &other.link_, populationOf(*this), carriedFrom(other));
    }
    RecordTracker& operator=(const RecordTracker& other) noexcept {
        beginAssignment(link_, nullptr, populationOf(*this), carriedFrom(other));
        return *this;
    }
    RecordTracker& operator=(RecordTracker&& other) noexcept {
        beginAssignment(link_, this == &other ? nullptr : &other.link_, populationOf(*this), carriedFrom(other));
        return *this;
    }
    // The last step of every record's own constructor, once its fields exist.
    void enterLedger() noexcept { enterRecord(link_); }
    // The first step of every record's destructor, before its fields go.
    void leaveLedger() noexcept { leaveRecord(link_); }
    // Also here, for a record whose construction failed after the tracker began it.
    ~RecordTracker() { leaveRecord(link_); }

private:
    friend struct LedgerAccess;

    static const HostClassPopulation* carriedFrom(const RecordTracker& other) noexcept {
        if constexpr (isClass) return &other.population_;
        return nullptr;
    }
    static HostClassPopulation* populationOf(const RecordTracker& self) noexcept {
        if constexpr (isClass) return &self.population_;
        return nullptr;
    }

    LedgerLink link_{};
    // Read and written under the ledger's lock only, also for a const record.
    [[no_unique_address]] mutable Population population_{};
};

// The last member of every record: copied or moved after all the others, it enters the
// record that this thread began last; assigned after all the others, it ends the
// assignment. A new record enters from its constructor instead.
class RecordSeal {
public:
    // Provided rather than defaulted, so that no compiler takes a record's seal for an
    // unused field.
    RecordSeal() noexcept {}  // NOLINT(modernize-use-equals-default): see above
    RecordSeal(const RecordSeal&) noexcept { completeRecord(); }
    RecordSeal(RecordSeal&&) noexcept { completeRecord(); }
    RecordSeal& operator=(const RecordSeal&) noexcept {
        completeAssignment(this);
        return *this;
    }
    RecordSeal& operator=(RecordSeal&&) noexcept {
        completeAssignment(this);
        return *this;
    }
    ~RecordSeal() = default;
};

}  // namespace orrery::convenience::detail
