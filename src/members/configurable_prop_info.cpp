#include "convenience/configurable_prop_info.hpp"

#include "convenience/detail/hook_call.hpp"

namespace orrery::convenience {

// The adaptor is its host base and the record pointer, nothing more.
static_assert(sizeof(ConfigurableCOSPropInfo) == sizeof(COSPropInfo) + sizeof(std::shared_ptr<COSPropInfoStruct>));

ConfigurableCOSPropInfo::ConfigurableCOSPropInfo(std::shared_ptr<COSPropInfoStruct> record)
    : record_(std::move(record)) {}
ConfigurableCOSPropInfo::~ConfigurableCOSPropInfo() = default;

const char* ConfigurableCOSPropInfo::getName() { return record_->name.c_str(); }
const char* ConfigurableCOSPropInfo::getDescription() { return record_->description.c_str(); }
COSValue ConfigurableCOSPropInfo::getFactoryDefault() { return record_->GetFactoryDefaultValue(); }
COSDataTypePtr ConfigurableCOSPropInfo::getDataType() { return COSDataTypePtr(record_->type); }
COSAccessLevel ConfigurableCOSPropInfo::getGetAccess() { return record_->getterAccess; }
COSAccessLevel ConfigurableCOSPropInfo::getSetAccess() { return record_->setterAccess; }
bool ConfigurableCOSPropInfo::isPropertyAttribute1() { return record_->propertyAttribute1; }
bool ConfigurableCOSPropInfo::isPropertyAttribute2() { return record_->propertyAttribute2; }
bool ConfigurableCOSPropInfo::isPropertyAttribute3() { return record_->propertyAttribute3; }
bool ConfigurableCOSPropInfo::isPropertyAttribute4() { return record_->propertyAttribute4; }
bool ConfigurableCOSPropInfo::isPropertyAttribute5() { return record_->propertyAttribute5; }
bool ConfigurableCOSPropInfo::isPropertyAttribute6() { return record_->propertyAttribute6; }
bool ConfigurableCOSPropInfo::isPropertyAttribute7() { return record_->propertyAttribute7; }
bool ConfigurableCOSPropInfo::isPropertyAttribute8() { return record_->propertyAttribute8; }
bool ConfigurableCOSPropInfo::isPropertyAttribute9() { return record_->propertyAttribute9; }
bool ConfigurableCOSPropInfo::isPropertyAttribute10() { return record_->propertyAttribute10; }
bool ConfigurableCOSPropInfo::isPropertyAttribute11() { return !record_->notPropertyAttribute11; }
bool ConfigurableCOSPropInfo::isPropertyAttribute12() { return record_->propertyAttribute12; }
bool ConfigurableCOSPropInfo::isPropertyAttribute13() { return record_->propertyAttribute13; }
bool ConfigurableCOSPropInfo::isPropertyAttribute14() { return record_->propertyAttribute14; }

COSValue ConfigurableCOSPropInfo::getValue(COSInterface* object) {
    return detail::callHook(record_->getFcn, "getFcn", record_->name, object);
}
void ConfigurableCOSPropInfo::setValue(COSInterface* object, COSValue value) {
    detail::callHook(record_->setFcn, "setFcn", record_->name, object, std::move(value));
}
void ConfigurableCOSPropInfo::setValueAlternate(COSInterface* object, COSValue value) {
    detail::callHook(record_->setAlternateFcn, "setAlternateFcn", record_->name, object, std::move(value));
}

bool ConfigurableCOSPropInfo::canContainInterfaces() {
    if (record_->canContainInterfacesState == 2)
        record_->canContainInterfacesState = COSPropInfo::canContainInterfaces() ? 1 : 0;
    return record_->canContainInterfacesState == 1;
}

Enumeration<COSInterface*> ConfigurableCOSPropInfo::enumerateInterfaces(const COSClient* client, COSInterface* object) {
    return detail::callHook(record_->enumerateInterfacesFcn, "enumerateInterfacesFcn", record_->name, client, object);
}

Enumeration<hxArray*> ConfigurableCOSPropInfo::enumerateArrays(const COSClient* client, COSInterface* object) {
    return detail::callHook(record_->enumerateArraysFcn, "enumerateArraysFcn", record_->name, client, object);
}

}  // namespace orrery::convenience
