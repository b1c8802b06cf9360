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
// In the order the records were made. Safe while other threads make, copy, move, assign
// and destroy records: a record's name is read whole, or reported empty while a move
// from it or an assignment to it runs. Client code that writes a `name` field directly
// must not do so while another thread takes a report (that write is unsynchronised;
// take reports where no thread is naming records).
ORRERY_CONVENIENCE_API std::vector<LiveRecord> liveRecords();
// `class "geo.Polygon", property "area"`, or "no records" when there are none.
ORRERY_CONVENIENCE_API std::string describe(const std::vector<LiveRecord>& records);

}  // namespace orrery::convenience::diagnostics
