// Diagnosis from the host's side: a loader holds only the metadata the host was given,
// and reaches the records through the adaptors that publishing made. The casts live
// here, where the adaptors' type information is.
#include "convenience/configurable_class_info.hpp"
#include "convenience/configurable_namespace_info.hpp"
#include "convenience/diagnostics/contract.hpp"

namespace orrery::convenience::diagnostics {

std::optional<std::vector<Finding>> diagnosePublished(COSClassInfo* info) {
    auto* adaptor = dynamic_cast<ClassInfoAdaptor*>(info);
    if (!adaptor) return std::nullopt;
    return diagnose(*adaptor->record());
}

std::optional<std::vector<Finding>> diagnosePublished(COSNamespaceInfo* info) {
    auto* adaptor = dynamic_cast<ConfigurableCOSNamespaceInfo*>(info);
    if (!adaptor) return std::nullopt;
    return diagnose(*adaptor->record());
}

}  // namespace orrery::convenience::diagnostics
