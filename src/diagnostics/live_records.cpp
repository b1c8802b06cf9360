#include "convenience/diagnostics/live_records.hpp"

#include <sstream>

#include "detail/record_ledger.hpp"

namespace orrery::convenience::diagnostics {
namespace {

const char* kindName(detail::RecordKind kind) {
    switch (kind) {
        case detail::RecordKind::classRecord: return "class";
        case detail::RecordKind::property: return "property";
        case detail::RecordKind::method: return "method";
        case detail::RecordKind::constructor: return "constructor";
        case detail::RecordKind::namespaceRecord: return "namespace";
        case detail::RecordKind::function: return "function";
    }
    return "record";
}

}  // namespace

std::size_t liveRecordCount() noexcept { return detail::countLiveRecords(); }

std::vector<LiveRecord> liveRecords() {
    std::vector<LiveRecord> found;
    detail::visitLiveRecords(
        [](void* context, detail::RecordKind kind, const std::string* name) {
            // A name that one of the record's own operations is changing right now is
            // reported empty rather than read half-changed.
            static_cast<std::vector<LiveRecord>*>(context)->push_back(
                LiveRecord{kindName(kind), name ? *name : std::string()});
        },
        &found);
    return found;
}

std::string describe(const std::vector<LiveRecord>& records) {
    if (records.empty()) return "no records";
    std::ostringstream out;
    for (std::size_t i = 0; i < records.size(); ++i)
        out << (i ? ", " : "") << records[i].kind << " \"" << records[i].name << '"';
    return out.str();
}

}  // namespace orrery::convenience::diagnostics
