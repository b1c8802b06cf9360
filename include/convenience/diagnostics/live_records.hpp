#pragma once

// Which description records are alive right now, by kind and name: the library's half of
// a leak report (the host names what it owns). Beyond the host interface; for tests and
// tools.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "convenience/export.hpp"

namespace orrery::convenience::diagnostics {

struct LiveRecord {
    std::string kind;  ///< "class", "property", "method", "constructor", "namespace" or "function"
    std::string name;  ///< the record's name field at the time of the report
};

ORRERY_CONVENIENCE_API std::size_t liveRecordCount() noexcept;
// In the order the records were made.
ORRERY_CONVENIENCE_API std::vector<LiveRecord> liveRecords();
// `class "geo.Polygon", property "area"`, or "no records" when there are none.
ORRERY_CONVENIENCE_API std::string describe(const std::vector<LiveRecord>& records);

}  // namespace orrery::convenience::diagnostics
