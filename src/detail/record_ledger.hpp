#pragma once

#include <cstdint>
#include <string>

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

// The host class population that last set a class record's cosClass: a serial of the
// population (0 for none) and the class it handed over. Kept with the record's entry,
// and carried along by copies and assignments, as cosClass is.
struct HostClassPopulation {
    std::uint64_t token = 0;
    const void* hostClass = nullptr;
};
HostClassPopulation populationOf(const void* tracker) noexcept;
void setPopulation(const void* tracker, HostClassPopulation population) noexcept;

// Sets a freshly made record's name while no report reads it.
void assignName(std::string& field, std::string text);

template <RecordKind Kind>
const void* trackerOf(const RecordTracker<Kind>& record) noexcept {
    return &record;
}

template <RecordKind Kind>
RecordIdentity identityOf(const RecordTracker<Kind>& record) noexcept {
    return {&record, recordSerial(&record)};
}

}  // namespace orrery::convenience::detail
