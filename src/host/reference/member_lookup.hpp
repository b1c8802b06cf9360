#pragma once

#include <string>
#include <vector>

#include "host/host_export.hpp"
#include "host/method_info.hpp"
#include "host/prop_info.hpp"

namespace orrery::reference {

class ClassObject;

// How the host finds a class's members: the class's own first, then its superclasses'
// in declaration order, depth-first, each class once. A member of a class overrides one
// of the same name in any of its superclasses; an abstract method gives way to an
// implementation; two members of one name that neither overrides (they come from
// unrelated superclasses) are ambiguous, and looking the name up raises the host error
// orrery:class:AmbiguousMember rather than picking one. Superclasses the host does not
// know are passed over (diagnostics report them). Constructors are not inherited.

struct ResolvedProperty {
    COSPropInfo* info = nullptr;  ///< null when the class has no property of that name
    ClassObject* owner = nullptr;  ///< the class that declares it
};

struct ResolvedMethod {
    COSMethodInfo* info = nullptr;
    ClassObject* owner = nullptr;
};

ORRERY_HOST_API ResolvedProperty resolveProperty(ClassObject& cls, const std::string& name);
ORRERY_HOST_API ResolvedMethod resolveMethod(ClassObject& cls, const std::string& name);

// What a class has from its superclasses and does not declare itself, each name once, in
// the order the lookup meets them. An ambiguous name is listed with a null info and every
// class that declares it in `ambiguousOwners`.
struct InheritedMembers {
    struct Ambiguous {
        std::string name;
        std::vector<std::string> owners;  ///< class ids
    };
    std::vector<ResolvedProperty> properties;
    std::vector<ResolvedMethod> methods;
    std::vector<Ambiguous> ambiguousProperties;
    std::vector<Ambiguous> ambiguousMethods;
};
ORRERY_HOST_API InheritedMembers inheritedMembers(ClassObject& cls);

// The classes the lookup visits after the class itself, in order; superclasses the host
// does not know are left out.
ORRERY_HOST_API std::vector<ClassObject*> superclassOrder(ClassObject& cls);

}  // namespace orrery::reference
