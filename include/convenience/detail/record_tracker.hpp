#pragma once

#include <cstdint>

#include "convenience/export.hpp"

namespace orrery::convenience::detail {

enum class RecordKind : unsigned char { classRecord, property, method, constructor, namespaceRecord, function };

// The record ledger: every live record is entered when it is made and leaves when it
// dies, so that a leak report can name what is still alive and hooks that outlive the
// record they were made for can tell that it is gone. A record enters only once all its
// fields exist and leaves before any of them goes, so that a report taken on another
// thread never reads a field under construction or destruction: its tracker (the first
// base) begins it, its seal (the last member) enters it, and its destructor's first step
// takes it out. Nothing here throws: a record that cannot be entered (memory ran out) is
// simply not tracked. `source` is the record a new one is copied or moved from.
ORRERY_CONVENIENCE_API void beginRecord(const void* tracker, RecordKind kind, const void* source) noexcept;
ORRERY_CONVENIENCE_API void completeRecord() noexcept;
ORRERY_CONVENIENCE_API void leaveRecord(const void* tracker) noexcept;
// What assignment carries from one record to another (the host class a class record was
// populated with); identity stays.
ORRERY_CONVENIENCE_API void assignRecord(const void* tracker, const void* source) noexcept;

// An empty base of every record that begins its ledger entry. Copies and moves are new
// records with ledger entries of their own; assignment changes no identity.
template <RecordKind Kind>
class RecordTracker {
protected:
    RecordTracker() noexcept { beginRecord(this, Kind, nullptr); }
    RecordTracker(const RecordTracker& other) noexcept { beginRecord(this, Kind, &other); }
    RecordTracker(RecordTracker&& other) noexcept { beginRecord(this, Kind, &other); }
    RecordTracker& operator=(const RecordTracker& other) noexcept {
        assignRecord(this, &other);
        return *this;
    }
    RecordTracker& operator=(RecordTracker&& other) noexcept {
        assignRecord(this, &other);
        return *this;
    }
    // The first step of every record's destructor, before its fields go.
    void leaveLedger() const noexcept { leaveRecord(this); }
    // Also here, for a record whose construction failed after the tracker began it.
    ~RecordTracker() { leaveRecord(this); }
};

// The last member of every record: made after all the others, it enters the record that
// this thread began last.
class RecordSeal {
public:
    RecordSeal() noexcept { completeRecord(); }
    RecordSeal(const RecordSeal&) noexcept { completeRecord(); }
    RecordSeal(RecordSeal&&) noexcept { completeRecord(); }
    RecordSeal& operator=(const RecordSeal&) noexcept = default;
    RecordSeal& operator=(RecordSeal&&) noexcept = default;
    ~RecordSeal() = default;
};

}  // namespace orrery::convenience::detail
