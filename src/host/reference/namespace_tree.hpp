#pragma once

#include <string>
#include <vector>

#include "host/cos_package.hpp"
#include "host/host_export.hpp"
#include "host/method_info.hpp"
#include "host/namespace_info.hpp"
#include "host/reference/class_object.hpp"
#include "host/reference/package.hpp"

namespace orrery::reference {

// The namespace tree. COSPackage::addNamespace registers top-level namespace infos;
// packages are made lazily, one level at a time. The first time a name under a
// namespace is resolved, the host makes the namespace's package and lets its info
// populate it; the inner namespace infos handed over then get packages of their own
// only when a name under them is resolved in turn. Within a package the first item of
// a name wins lookups, as the first top-level info of a name does.
//
// A package is findable before its info populates it, so that a lookup from inside the
// population finds it instead of starting another. A population that fails leaves the
// tree as if it never started: the next request makes a new package and tries again.
// (The failed package lives on, out of every lookup, until shutdown, since the info
// may have kept a pointer to it.)
//
// A class in a package has the full dotted id of the package path and its name
// ("outer.inner.Point"); COSClass::getClass and findClass find it, making and populating
// its class object on the first request. A function in a package is found by its
// dotted name too ("outer.inner.f"; see also invokeFunction in calls.hpp).
//
// Names that no namespace describes: omGetNamespace and omGetInnerNamespace raise the
// host error "orrery:namespace:NotFound" and never return null (the library passes
// their result on unchecked); the lookups below return null instead.

// The package at a dotted path ("outer.inner"), each level made and populated on the
// first request; null when some level names no namespace. A failed population's error
// propagates.
ORRERY_HOST_API Package* findPackage(const std::string& path);
// The class object of a class in a package, from its full dotted id; null when there
// is none. Made and populated on the first request, like the package path before it.
ORRERY_HOST_API ClassObject* findPackageClass(const std::string& classId);
// The function info at a dotted name, its package resolved as above; null when none.
ORRERY_HOST_API COSMethodInfo* findFunction(const std::string& dottedName);

// The top-level namespace infos handed to COSPackage::addNamespace, in order.
ORRERY_HOST_API std::vector<COSNamespaceInfo*> registeredNamespaceInfos();
// The top-level packages made so far, in the order they were made.
ORRERY_HOST_API std::vector<Package*> topLevelPackages();

}  // namespace orrery::reference
