#include "convenience/configurable_namespace_info.hpp"

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
void ConfigurableCOSNamespaceInfo::handleName1(const char* name) { record_->handleName1Fcn(name); }
void ConfigurableCOSNamespaceInfo::handleName2(const char* name) { record_->handleName2Fcn(name); }
void ConfigurableCOSNamespaceInfo::handleName3(const char* name) { record_->handleName3Fcn(name); }
void ConfigurableCOSNamespaceInfo::handleName4(const char* name) { record_->handleName4Fcn(name); }
const COSMethodSelector* ConfigurableCOSNamespaceInfo::getMethodSelector() { return record_->methodSelectorFcn(); }

void ConfigurableCOSNamespaceInfo::populatePackage(COSPackage* package) {
    // A copy runs, so a hook may replace populatePackageFcn without pulling the running
    // callable out from under itself.
    auto hook = record_->populatePackageFcn;
    hook(package);
}

bool ConfigurableCOSNamespaceInfo::isOption1() { return record_->option1; }
bool ConfigurableCOSNamespaceInfo::isOption2() { return record_->option2; }

}  // namespace orrery::convenience
