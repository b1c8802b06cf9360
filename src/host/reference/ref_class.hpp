#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/class_info.hpp"
#include "host/cos_class.hpp"
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
class ORRERY_HOST_API RefClass final : public COSClass {
public:
    explicit RefClass(COSId id);
    ~RefClass() override;

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
    COSClassInfo* info() const { return info_; }
    void setInfo(COSClassInfo* info) { info_ = info; }

    COSPropInfo* findProperty(const std::string& name) const;
    // Constructors are the methods named after the class.
    COSMethodInfo* findMethod(const std::string& name) const;
    COSMethodInfo* findConstructor() const { return findMethod(id_.str()); }

private:
    COSId id_;
    COSClassInfo* info_ = nullptr;  // not owned: the registry owns class infos
    std::vector<COSPropInfo*> properties_;
    std::vector<COSMethodInfo*> methods_;
    std::vector<SuperclassRecord> superclasses_;
};

}  // namespace orrery::reference
