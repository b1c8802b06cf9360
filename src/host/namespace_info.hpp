#pragma once

// COSNamespaceInfo: the host's metadata base class of a namespace.

#include <cstddef>

#include "host/host_export.hpp"

namespace orrery {

class COSPackage;

// The host's metadata of one namespace (package).
class ORRERY_HOST_API COSNamespaceInfo {
public:
    COSNamespaceInfo();
    virtual ~COSNamespaceInfo();

    static void* operator new(std::size_t bytes);
    static void operator delete(void* block) noexcept;

    virtual const char* getName();
    virtual void populatePackage(COSPackage* package);

    COSNamespaceInfo(const COSNamespaceInfo&) = delete;
    COSNamespaceInfo& operator=(const COSNamespaceInfo&) = delete;
};

}  // namespace orrery
