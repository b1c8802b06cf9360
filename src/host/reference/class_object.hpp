#pragma once

#include <string>
#include <vector>

#include "host/class_info.hpp"
#include "host/cos_class.hpp"
#include "host/host_export.hpp"
#include "host/method_info.hpp"
#include "host/prop_info.hpp"

namespace orrery::reference {

struct SuperclassRecord {
    COSId id;
    bool firstFlag;
    int number;
    bool secondFlag;
};

// The reference host's class object: keeps what it is given, in order, and owns it.
// Constructors are the methods named after the class: by its full id, or, for a class
// in a package, by its name within the package ("Point" in "outer.inner.Point").
class ORRERY_HOST_API ClassObject final : public COSClass {
public:
    explicit ClassObject(COSId id);
    ~ClassObject() override;

    // Each add takes ownership; what cannot be kept (memory ran out) is freed at once.
    void addSuperclass(const COSId& superclass, bool firstFlag, int number, bool secondFlag) override;
    void addPropertyInfo(COSPropInfo* info) override;
    void addEventInfo(COSEventInfo* info) override;
    void addMethodInfo(COSMethodInfo* info) override;
    COSId getClassID() override;
    // The full, dotted name: the id's text.
    const char* getClassName() override;

    const std::vector<COSPropInfo*>& properties() const { return properties_; }
    const std::vector<COSMethodInfo*>& methods() const { return methods_; }
    const std::vector<SuperclassRecord>& superclasses() const { return superclasses_; }
    // The class info that populated this class; null for a class made by defineClass.
    COSClassInfo* info() const { return info_; }
    void setInfo(COSClassInfo* info) { info_ = info; }

    // The first member of that name, or null.
    COSPropInfo* findProperty(const std::string& name) const;
    COSMethodInfo* findMethod(const std::string& name) const;
    COSMethodInfo* findConstructor() const;

private:
    COSId id_;
    COSClassInfo* info_ = nullptr;  // not owned: the registry owns class infos
    std::vector<COSPropInfo*> properties_;
    std::vector<COSMethodInfo*> methods_;
    std::vector<SuperclassRecord> superclasses_;
};

}  // namespace orrery::reference
