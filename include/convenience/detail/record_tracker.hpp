#pragma once

#include <cstdint>

#include "convenience/export.hpp"

namespace orrery::convenience::detail {

enum class RecordKind : unsigned char { classRecord, property, method, constructor, namespaceRecord, function };

// The record ledger: every live record is entered when it is made and leaves when it
// dies, so that a leak report can name what is still alive and hooks that outlive the
// record they were made for can tell that it is gone. Entering never throws: a record
// that cannot be entered (memory ran out) is simply not tracked.
ORRERY_CONVENIENCE_API std::uint64_t enterRecord(const void* tracker, RecordKind kind) noexcept;
ORRERY_CONVENIENCE_API void leaveRecord(const void* tracker) noexcept;

// An empty base of every record that enters it into the ledger. Copies and moves are
// new records with ledger entries of their own; assignment changes no identity.
template <RecordKind Kind>
class RecordTracker {
protected:
    RecordTracker() noexcept { enterRecord(this, Kind); }
    RecordTracker(const RecordTracker&) noexcept { enterRecord(this, Kind); }
    RecordTracker(RecordTracker&&) noexcept { enterRecord(this, Kind); }
    RecordTracker& operator=(const RecordTracker&) noexcept = default;
    RecordTracker& operator=(RecordTracker&&) noexcept = default;
    ~RecordTracker() { leaveRecord(this); }
};

}  // namespace orrery::convenience::detail
