#include "convenience/configurable_method_info.hpp"

#include "convenience/detail/hook_call.hpp"

namespace orrery::convenience {

// The adaptor is its host base and the record pointer, nothing more.
static_assert(sizeof(ConfigurableCOSMethodInfo) ==
              sizeof(COSMethodInfo) + sizeof(std::shared_ptr<COSMethodInfoStruct>));

ConfigurableCOSMethodInfo::ConfigurableCOSMethodInfo(std::shared_ptr<COSMethodInfoStruct> record)
    : record_(std::move(record)) {}
ConfigurableCOSMethodInfo::~ConfigurableCOSMethodInfo() = default;

const char* ConfigurableCOSMethodInfo::getName() { return record_->name.c_str(); }
const char* ConfigurableCOSMethodInfo::getDescription() { return record_->description.c_str(); }
bool ConfigurableCOSMethodInfo::isLookupScope() const { return record_->lookupScope; }
const char* ConfigurableCOSMethodInfo::getDetailedDescription() { return record_->detailedDescription.c_str(); }
COSAccessLevel ConfigurableCOSMethodInfo::getAccess() { return record_->access; }

ExtendedMemberAccess ConfigurableCOSMethodInfo::getExtendedAccess() {
    const ExtendedMemberAccess& extended = record_->extendedAccess;
    if (extended.grantedClasses.empty() && extended.grantedFunctions.empty())
        return ExtendedMemberAccess(record_->access);
    return extended;
}

COSMethodSignature* ConfigurableCOSMethodInfo::getSignature() {
    // Once cached, no shared-pointer copy: the cache owns the signature.
    if (COSMethodSignature* cached = record_->cachedSignature.get()) return cached;
    return record_->getMethodSignature().get();
}

void ConfigurableCOSMethodInfo::invoke(const COSClient* client, int& outputCount, COSValue* outputs, int inputCount,
                                       const COSValue* inputs) {
    detail::callHook(record_->invokeFcn, "invokeFcn", record_->name, client, outputCount, outputs, inputCount, inputs);
}

bool ConfigurableCOSMethodInfo::isAttribute1() { return record_->attribute1; }
bool ConfigurableCOSMethodInfo::isAttribute2() { return record_->attribute2; }
bool ConfigurableCOSMethodInfo::isAttribute3() { return record_->attribute3; }
bool ConfigurableCOSMethodInfo::isAttribute4() { return record_->attribute4; }
bool ConfigurableCOSMethodInfo::isAttribute5() { return !record_->notAttribute5; }
bool ConfigurableCOSMethodInfo::isAttribute6() { return record_->attribute6; }
bool ConfigurableCOSMethodInfo::isAttribute7() { return record_->attribute7; }
bool ConfigurableCOSMethodInfo::isAttribute8() { return record_->attribute8; }
bool ConfigurableCOSMethodInfo::isAttribute9() { return record_->attribute9; }

}  // namespace orrery::convenience
