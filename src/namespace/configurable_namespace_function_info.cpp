#include "convenience/configurable_namespace_function_info.hpp"

#include "convenience/detail/hook_call.hpp"

namespace orrery::convenience {

// The adaptor is its host base and the record pointer, nothing more.
static_assert(sizeof(ConfigurableCOSNamespaceFunctionInfo) ==
              sizeof(COSMethodInfo) + sizeof(std::shared_ptr<COSNamespaceFunctionInfoStruct>));

ConfigurableCOSNamespaceFunctionInfo::ConfigurableCOSNamespaceFunctionInfo(
    std::shared_ptr<COSNamespaceFunctionInfoStruct> record)
    : record_(std::move(record)) {}
ConfigurableCOSNamespaceFunctionInfo::~ConfigurableCOSNamespaceFunctionInfo() = default;

const char* ConfigurableCOSNamespaceFunctionInfo::getName() { return record_->name.c_str(); }
const char* ConfigurableCOSNamespaceFunctionInfo::getDescription() { return record_->description.c_str(); }
const char* ConfigurableCOSNamespaceFunctionInfo::getDetailedDescription() {
    return record_->detailedDescription.c_str();
}
COSAccessLevel ConfigurableCOSNamespaceFunctionInfo::getAccess() { return COSAccessPublic; }
ExtendedMemberAccess ConfigurableCOSNamespaceFunctionInfo::getExtendedAccess() {
    return ExtendedMemberAccess(COSAccessPublic);
}

COSMethodSignature* ConfigurableCOSNamespaceFunctionInfo::getSignature() {
    // Once cached, no shared-pointer copy: the cache owns the signature.
    if (COSMethodSignature* cached = record_->cachedSignature.get()) return cached;
    return record_->getFunctionSignature().get();
}

void ConfigurableCOSNamespaceFunctionInfo::invoke(const COSClient* client, int& outputCount, COSValue* outputs,
                                                  int inputCount, const COSValue* inputs) {
    detail::callHook(record_->invokeFcn, "invokeFcn", record_->name, client, outputCount, outputs, inputCount, inputs);
}

// A method record's defaults: attributes 5, 6 and 7 set, the rest clear.
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute1() { return false; }
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute2() { return false; }
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute3() { return false; }
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute4() { return false; }
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute5() { return true; }
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute6() { return true; }
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute7() { return true; }
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute8() { return false; }
bool ConfigurableCOSNamespaceFunctionInfo::isAttribute9() { return false; }

}  // namespace orrery::convenience
