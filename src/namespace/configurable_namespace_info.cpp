#include "convenience/configurable_namespace_info.hpp"

#include "convenience/detail/hook_call.hpp"

namespace orrery::convenience {

// The adaptor is its host base and the record pointer, nothing more.
static_assert(sizeof(ConfigurableCOSNamespaceInfo) ==
              sizeof(COSNamespaceInfo) + sizeof(std::shared_ptr<COSNamespaceInfoStruct>));

ConfigurableCOSNamespaceInfo::ConfigurableCOSNamespaceInfo(std::shared_ptr<COSNamespaceInfoStruct> record)
    : record_(std::move(record)) {}
ConfigurableCOSNamespaceInfo::~ConfigurableCOSNamespaceInfo() = default;

const char* ConfigurableCOSNamespaceInfo::getName() { return record_->name.c_str(); }
const char* ConfigurableCOSNamespaceInfo::getDescription() { return record_->description.c_str(); }
const char* ConfigurableCOSNamespaceInfo::getDetailedDescription() { return record_->detailedDescription.c_str(); }
void ConfigurableCOSNamespaceInfo::handleName1(const char* name) {
    detail::callHook(record_->handleName1Fcn, "handleName1Fcn", record_->name, name);
}
void ConfigurableCOSNamespaceInfo::handleName2(const char* name) {
    detail::callHook(record_->handleName2Fcn, "handleName2Fcn", record_->name, name);
}
void ConfigurableCOSNamespaceInfo::handleName3(const char* name) {
    detail::callHook(record_->handleName3Fcn, "handleName3Fcn", record_->name, name);
}
void ConfigurableCOSNamespaceInfo::handleName4(const char* name) {
    detail::callHook(record_->handleName4Fcn, "handleName4Fcn", record_->name, name);
}
const COSMethodSelector* ConfigurableCOSNamespaceInfo::getMethodSelector() {
    return detail::callHook(record_->methodSelectorFcn, "methodSelectorFcn", record_->name);
}

void ConfigurableCOSNamespaceInfo::populatePackage(COSPackage* package) {
    // A copy runs, so a hook may replace populatePackageFcn without pulling the running
    // callable out from under itself.
    auto hook = record_->populatePackageFcn;
    hook(package);
}

bool ConfigurableCOSNamespaceInfo::isOption1() { return record_->option1; }
bool ConfigurableCOSNamespaceInfo::isOption2() { return record_->option2; }

}  // namespace orrery::convenience
