#pragma once

// COSPackage: the host's namespace (package) object.

#include "host/host_export.hpp"

namespace orrery {

class COSClassInfo;
class COSMethodInfo;
class COSNamespaceInfo;

// A namespace of the host. Each add takes ownership of what it is given.
class ORRERY_HOST_API COSPackage {
public:
    // Registers a top-level namespace; the host owns the info from now on.
    static void addNamespace(COSNamespaceInfo* info);

    virtual void addInnerNamespaceInfo(COSNamespaceInfo* info) = 0;
    virtual void addClassInfo(COSClassInfo* info, int visibility, int kind) = 0;
    virtual void addFunctionInfo(COSMethodInfo* info, int visibility, int kind) = 0;
    virtual ~COSPackage();
};

// The package of a top-level namespace, made and populated on the first request. Never
// null: a name that no namespace describes raises the host error
// "orrery:namespace:NotFound".
ORRERY_HOST_API COSPackage* omGetNamespace(const char* name);
// The package of an inner namespace of `package`, made and populated on the first
// request. Never null, like omGetNamespace; std::invalid_argument when `package` is null
// or not one of the host's packages.
ORRERY_HOST_API COSPackage* omGetInnerNamespace(COSPackage* package, const char* name);

}  // namespace orrery
