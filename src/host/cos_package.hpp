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

}  // namespace orrery
