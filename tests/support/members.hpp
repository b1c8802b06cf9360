#pragma once

#include <array>
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

inline COSMethodInfo* attachToNewClass(const std::shared_ptr<convenience::COSConstructorInfoStruct>& record,
                                       const std::string& classId = "pkg.Thing") {
    auto* cls = reference::defineClass(classId);
    record->attach(cls);
    return cls->methods().back();
}

// Every attribute query of a property, isPropertyAttribute1 to isPropertyAttribute14.
inline std::array<bool, 14> attributeAnswers(COSPropInfo& p) {
    return {p.isPropertyAttribute1(),  p.isPropertyAttribute2(),  p.isPropertyAttribute3(),  p.isPropertyAttribute4(),
            p.isPropertyAttribute5(),  p.isPropertyAttribute6(),  p.isPropertyAttribute7(),  p.isPropertyAttribute8(),
            p.isPropertyAttribute9(),  p.isPropertyAttribute10(), p.isPropertyAttribute11(), p.isPropertyAttribute12(),
            p.isPropertyAttribute13(), p.isPropertyAttribute14()};
}

// Every attribute query of a callable: isLookupScope, then isAttribute1 to isAttribute9.
inline std::array<bool, 10> attributeAnswers(COSMethodInfo& m) {
    return {m.isLookupScope(), m.isAttribute1(), m.isAttribute2(), m.isAttribute3(), m.isAttribute4(),
            m.isAttribute5(),  m.isAttribute6(), m.isAttribute7(), m.isAttribute8(), m.isAttribute9()};
}

// The type id the host sees for a property; "<none>" when the type is unknown.
inline std::string typeOf(COSPropInfo* info) {
    COSDataTypePtr handle = info->getDataType();
    COSDataType* type = COSDataTypePtrHelper::getObject(handle);
    return type ? type->getTypeID().str() : "<none>";
}

}  // namespace orrery::testing
