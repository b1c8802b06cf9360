#include "host/reference/counters.hpp"

#include <mutex>
#include <sstream>
#include <vector>

#include "host/reference/detail/counters.hpp"
#include "host/reference/detail/live_objects.hpp"

namespace orrery::reference {

namespace detail {
Counters& counters() {
    // Never destroyed: host objects may be freed during static destruction.
    static auto* live = new Counters();
    return *live;
}
}  // namespace detail

LiveCounts liveCounts() {
    // Both walks visit the fields in the same order.
    std::vector<long> values;
    LiveCounts::forEach(detail::counters(),
                        [&](const char*, const std::atomic<long>& count) { values.push_back(count.load()); });
    LiveCounts out;
    std::size_t next = 0;
    LiveCounts::forEach(out, [&](const char*, long& value) { value = values[next++]; });
    return out;
}

std::ostream& operator<<(std::ostream& out, const LiveCounts& counts) {
    bool any = false;
    LiveCounts::forEach(counts, [&](const char* name, long count) {
        if (count == 0) return;
        out << (any ? ", " : "") << count << ' ' << name;
        any = true;
    });
    if (!any) out << "nothing alive";
    return out;
}

std::string leakReport() {
    std::ostringstream out;
    out << liveCounts();
    for (const std::string& name : detail::liveObjectClassNames()) out << ", object of class " << name;
    return out.str();
}

namespace {
struct LastReport {
    std::mutex lock;
    InvalidTypeReport report;
};
LastReport& lastReport() {
    static auto* instance = new LastReport();
    return *instance;
}
}  // namespace

CallCounts& callCounts() {
    static auto* counts = new CallCounts();
    return *counts;
}

void resetCallCounts() {
    CallCounts::forEach(callCounts(), [](std::atomic<long>& count) { count = 0; });
    std::lock_guard guard(lastReport().lock);
    lastReport().report = {};
}

InvalidTypeReport lastInvalidTypeReport() {
    std::lock_guard guard(lastReport().lock);
    return lastReport().report;
}

void detail::recordInvalidTypeReport(const COSId& propertyName, const COSId& typeId) {
    ++callCounts().invalidTypeReports;
    std::lock_guard guard(lastReport().lock);
    lastReport().report = {propertyName, typeId};
}

}  // namespace orrery::reference
