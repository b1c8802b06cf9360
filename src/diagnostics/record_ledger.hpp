#pragma once

#include <cstdint>

#include "convenience/detail/record_tracker.hpp"

namespace orrery::convenience::detail {

// The ledger's view of one record: where its tracker is and the serial it was entered
// under. Hooks that may outlive their record keep one and check it before each use.
struct RecordIdentity {
    const void* tracker = nullptr;
    std::uint64_t serial = 0;

    // Whether the record is still the one this identity was taken of. An untracked
    // record (serial 0) cannot be checked and counts as alive.
    bool isAlive() const noexcept;
};

template <RecordKind Kind>
RecordIdentity identityOf(const RecordTracker<Kind>& record) noexcept;

std::uint64_t recordSerial(const void* tracker) noexcept;

template <RecordKind Kind>
RecordIdentity identityOf(const RecordTracker<Kind>& record) noexcept {
    return {&record, recordSerial(&record)};
}

}  // namespace orrery::convenience::detail
