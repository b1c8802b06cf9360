#include "host/reference/class_object.hpp"

#include "host/reference/detail/counters.hpp"
#include "host/reference/detail/lookup_generation.hpp"
#include "host/reference/detail/ownership.hpp"

namespace orrery {

COSClass::~COSClass() = default;

namespace reference {

ClassObject::ClassObject(COSId id) : id_(id) {
    ++detail::counters().classes;
    detail::classesChanged();
}

ClassObject::~ClassObject() {
    for (auto* info : properties_) delete info;
    for (auto* info : methods_) delete info;
    --detail::counters().classes;
    detail::classesChanged();
}

void ClassObject::addSuperclass(const COSId& superclass, bool firstFlag, int number, bool secondFlag) {
    superclasses_.push_back({superclass, firstFlag, number, secondFlag});
    detail::classesChanged();
}
void ClassObject::addPropertyInfo(COSPropInfo* info) {
    detail::classesChanged();
    detail::keepOrFree(properties_, info);
}
void ClassObject::addEventInfo(COSEventInfo*) {}
void ClassObject::addMethodInfo(COSMethodInfo* info) {
    detail::classesChanged();
    detail::keepOrFree(methods_, info);
}
COSId ClassObject::getClassID() { return id_; }
const char* ClassObject::getClassName() { return id_.c_str(); }

// A member whose name is null (a plugin's fault, which the inspector reports) matches no name.
COSPropInfo* ClassObject::findProperty(const std::string& name) const {
    for (auto* info : properties_)
        if (const char* own = info ? info->getName() : nullptr; own && name == own) return info;
    return nullptr;
}

COSMethodInfo* ClassObject::findMethod(const std::string& name) const {
    for (auto* info : methods_)
        if (const char* own = info ? info->getName() : nullptr; own && name == own) return info;
    return nullptr;
}

COSMethodInfo* ClassObject::findConstructor() const {
    if (COSMethodInfo* constructor = findMethod(id_.str())) return constructor;
    const std::string& id = id_.str();
    const std::size_t dot = id.rfind('.');
    return dot == std::string::npos ? nullptr : findMethod(id.substr(dot + 1));
}

}  // namespace reference
}  // namespace orrery
