#pragma once

#include <string>
#include <vector>

#include "host/class_info.hpp"
#include "host/cos_class.hpp"
#include "host/host_export.hpp"
#include "host/reference/class_object.hpp"
#include "host/reference/package.hpp"

namespace orrery::reference {

// The class registry. COSClass::addClass registers class infos under their names (the
// first registration of a name wins lookups); COSClass::getClass makes the class
// object of an info on the first request and lets the info populate it. A population
// that fails leaves the registry as if it never started: the next request tries again.

// The class object registered under the id (populated on first request), a class made
// by defineClass, a built-in class, a class in a package of the namespace tree
// (findPackageClass), or null.
ORRERY_HOST_API ClassObject* findClass(const std::string& id);
// Whether a class of that name is registered, defined, built in or in a package made so
// far; populates nothing.
ORRERY_HOST_API bool isKnownClass(const std::string& id);
// Makes the class object of a registered info (once) and lets the info populate it.
ORRERY_HOST_API ClassObject* populate(COSClassInfo* info);
// A new, empty class object registered under the id; the host owns it.
ORRERY_HOST_API ClassObject* defineClass(const std::string& id);
// A package not registered anywhere, owned by the host; it keeps what it is given.
ORRERY_HOST_API Package* definePackage(const std::string& name);

// Class infos handed to COSClass::addClass, in order.
ORRERY_HOST_API std::vector<COSClassInfo*> registeredClassInfos();
// The names the registry knows, registered ones first, in order.
ORRERY_HOST_API std::vector<std::string> classNames();

// The client the registry passes to populateClass.
ORRERY_HOST_API const COSClient* client();

// Frees every class info, class object, package and everything they own, and resets
// the call counts. Records that client code still holds stay alive; host objects
// (instances) must be released before, since their classes go.
ORRERY_HOST_API void shutdown();

}  // namespace orrery::reference
