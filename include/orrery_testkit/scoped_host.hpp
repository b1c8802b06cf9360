#pragma once

// A reference host for one scope, and the report of what outlived it: host objects by
// kind and class, and description records by kind and name. No GoogleTest here: tools use
// it as tests do.

#include <string>
#include <vector>

#include "convenience/diagnostics/live_records.hpp"
#include "host/reference/reference_host.hpp"

namespace orrery::testkit {

/// What was alive after the host shut down.
struct LeakReport {
    reference::LiveCounts hostCounts;  ///< what the host still counts
    std::string hostReport;  ///< the same for people, with each object's class
    std::vector<convenience::diagnostics::LiveRecord> records;  ///< records still alive

    bool clean() const { return hostCounts == reference::LiveCounts{} && records.empty(); }
    /// "nothing alive", or e.g. "host: 1 objects, object of class geo.Polygon; records: class \"geo.Polygon\"".
    std::string text() const {
        if (clean()) return "nothing alive";
        std::string out;
        if (!(hostCounts == reference::LiveCounts{})) out = "host: " + hostReport;
        if (!records.empty())
            out += (out.empty() ? "" : "; ") + std::string("records: ") + convenience::diagnostics::describe(records);
        return out;
    }
};

/// Shuts the reference host down (it frees all it owns) and reports what is still alive:
/// whatever the caller (or anyone else) still holds.
inline LeakReport shutdownAndReport() {
    reference::shutdown();
    return {reference::liveCounts(), reference::leakReport(), convenience::diagnostics::liveRecords()};
}

/// Starts from an empty reference host and shuts it down at the end of the scope. Call
/// finish() to get the report (once the scope's own handles and records are gone);
/// otherwise the destructor just shuts the host down.
class ScopedHost {
public:
    ScopedHost() { reference::shutdown(); }
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;
    ~ScopedHost() {
        if (!finished_) reference::shutdown();
    }

    LeakReport finish() {
        finished_ = true;
        return shutdownAndReport();
    }

private:
    bool finished_ = false;
};

}  // namespace orrery::testkit
