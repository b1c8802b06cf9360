#include "convenience/configurable_constructor_info.hpp"

#include "convenience/detail/hook_call.hpp"

namespace orrery::convenience {

// The adaptor is its host base and the record pointer, nothing more.
static_assert(sizeof(ConfigurableCOSConstructorInfo) ==
              sizeof(COSMethodInfo) + sizeof(std::shared_ptr<COSConstructorInfoStruct>));

ConfigurableCOSConstructorInfo::ConfigurableCOSConstructorInfo(std::shared_ptr<COSConstructorInfoStruct> record)
    : record_(std::move(record)) {}
ConfigurableCOSConstructorInfo::~ConfigurableCOSConstructorInfo() = default;

const char* ConfigurableCOSConstructorInfo::getName() { return record_->name.c_str(); }
const char* ConfigurableCOSConstructorInfo::getDescription() { return record_->description.c_str(); }
const char* ConfigurableCOSConstructorInfo::getDetailedDescription() { return record_->detailedDescription.c_str(); }
COSAccessLevel ConfigurableCOSConstructorInfo::getAccess() { return record_->access; }
ExtendedMemberAccess ConfigurableCOSConstructorInfo::getExtendedAccess() { return record_->extendedAccess; }

COSMethodSignature* ConfigurableCOSConstructorInfo::getSignature() {
    if (COSMethodSignature* cached = record_->cachedSignature.get()) return cached;
    return record_->getConstructorSignature().get();
}

void ConfigurableCOSConstructorInfo::invoke(const COSClient* client, int& outputCount, COSValue* outputs,
                                            int inputCount, const COSValue* inputs) {
    detail::callHook(record_->invokeFcn, "invokeFcn", record_->name, client, outputCount, outputs, inputCount, inputs);
}

bool ConfigurableCOSConstructorInfo::isAttribute1() { return false; }
bool ConfigurableCOSConstructorInfo::isAttribute2() { return false; }
bool ConfigurableCOSConstructorInfo::isAttribute3() { return record_->attribute3; }
bool ConfigurableCOSConstructorInfo::isAttribute4() { return record_->attribute4; }
bool ConfigurableCOSConstructorInfo::isAttribute5() { return !record_->notAttribute5; }
bool ConfigurableCOSConstructorInfo::isAttribute6() { return record_->attribute6; }
bool ConfigurableCOSConstructorInfo::isAttribute7() { return record_->attribute7; }
bool ConfigurableCOSConstructorInfo::isAttribute8() { return record_->attribute8; }
bool ConfigurableCOSConstructorInfo::isAttribute9() { return record_->attribute9; }

}  // namespace orrery::convenience
