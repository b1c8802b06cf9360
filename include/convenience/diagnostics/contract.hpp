#pragma once

// Contract diagnostics: what is wrong with a description record that would otherwise
// surface late (when the host first asks) or never. diagnose() reads the records, and
// asks the host's type repository whether it knows the type ids; it changes nothing and
// runs none of the client's hooks.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "convenience/export.hpp"

namespace orrery {
class COSClassInfo;
class COSNamespaceInfo;
}  // namespace orrery

namespace orrery::convenience {
struct COSClassInfoStruct;
struct COSNamespaceInfoStruct;
struct COSNamespaceFunctionInfoStruct;
}  // namespace orrery::convenience

namespace orrery::convenience::diagnostics {

enum class Severity {
    warning,  ///< legal, but probably not what was meant
    error,  ///< breaks when the host gets there, or is outside the records' contract
};

/// One problem with one record.
struct Finding {
    Severity severity;
    /// A stable name of the check: "unknown-type", "short-name-list", "long-name-list",
    /// "empty-name", "duplicate-name", "unattached-constructor", "foreign-member",
    /// "empty-hook", "self-superclass", "empty-superclass", "duplicate-superclass",
    /// "unknown-superclass", "null-entry", "namespace-cycle", "too-deep" (namespaces nested
    /// past 100 levels) or "shared-class".
    std::string check;
    std::string recordKind;  ///< "class", "property", "method", "constructor", "namespace" or "function"
    std::string recordName;  ///< dotted from the record diagnosed: "geo.Polygon.addVertex"
    std::string message;

    friend bool operator==(const Finding&, const Finding&) = default;
};

/// The problems of a class record and its members, of a namespace record and everything
/// in it (recursively), or of a function record, in the order the records are listed.
ORRERY_CONVENIENCE_API std::vector<Finding> diagnose(const COSClassInfoStruct& record);
ORRERY_CONVENIENCE_API std::vector<Finding> diagnose(const COSNamespaceInfoStruct& record);
ORRERY_CONVENIENCE_API std::vector<Finding> diagnose(const COSNamespaceFunctionInfoStruct& record);

/// The same through the record's shared pointer; std::invalid_argument for null.
template <class Record>
std::vector<Finding> diagnose(const std::shared_ptr<Record>& record) {
    if (!record) throw std::invalid_argument("diagnose: the record is null");
    return diagnose(*record);
}

/// The problems of the record behind host metadata that publishing made (a class or
/// namespace adaptor the host was handed); nullopt when the library did not make it. For
/// loaders, which see only what the host was given: call it before the host populates.
ORRERY_CONVENIENCE_API std::optional<std::vector<Finding>> diagnosePublished(COSClassInfo* info);
ORRERY_CONVENIENCE_API std::optional<std::vector<Finding>> diagnosePublished(COSNamespaceInfo* info);

/// "error" or "warning".
ORRERY_CONVENIENCE_API const char* toString(Severity severity);
/// One line per finding: `error: method "geo.Polygon.addVertex": ... [short-name-list]`;
/// "no findings" when there are none.
ORRERY_CONVENIENCE_API std::string describe(const std::vector<Finding>& findings);

}  // namespace orrery::convenience::diagnostics
