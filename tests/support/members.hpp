#pragma once

#include <memory>
#include <string>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"

namespace orrery::testing {

// Attaches a member record to a new host class and returns the metadata object that
// the class received for it.
inline COSPropInfo* attachToNewClass(const std::shared_ptr<convenience::COSPropInfoStruct>& record,
                                     const std::string& classId = "pkg.Thing") {
    auto* cls = reference::defineClass(classId);
    record->attach(cls);
    return cls->properties().back();
}

inline COSMethodInfo* attachToNewClass(const std::shared_ptr<convenience::COSMethodInfoStruct>& record,
                                       const std::string& classId = "pkg.Thing") {
    auto* cls = reference::defineClass(classId);
    record->attach(cls);
    return cls->methods().back();
}

// The type id the host sees for a property; "<none>" when the type is unknown.
inline std::string typeOf(COSPropInfo* info) {
    COSDataTypePtr handle = info->getDataType();
    COSDataType* type = COSDataTypePtrHelper::getObject(handle);
    return type ? type->getTypeID().str() : "<none>";
}

}  // namespace orrery::testing
