#pragma once

// COSNamespaceInfo: the host's metadata base class of a namespace.

#include <cstddef>

#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"

namespace orrery {

class COSPackage;

// The host's metadata of one namespace (package). The host owns every instance it is
// given and frees it through the virtual destructor; instances live on the host's
// metadata heap. The host makes the namespace's package when a name under it is first
// resolved and lets the info populate it.
class ORRERY_HOST_API COSNamespaceInfo {
public:
    COSNamespaceInfo();
    virtual ~COSNamespaceInfo();

    static void* operator new(std::size_t bytes);
    static void operator delete(void* block) noexcept;

    virtual const char* getName();
    virtual const char* getDescription();
    virtual const char* getDetailedDescription();
    virtual void handleName1(const char* name);
    // The host's own: loads an inner package that nothing has described yet.
    virtual void attemptToLoadSubPackage(const char* name);
    // The host's own: raises the host's error for a name defined twice in this namespace.
    virtual void throwErrorForDefinitionOfExistingName(const char* name);
    virtual void handleName2(const char* name);
    virtual void handleName3(const char* name);
    virtual void handleName4(const char* name);
    virtual const COSMethodSelector* getMethodSelector();
    virtual void populatePackage(COSPackage* package);
    // The host's own: prepares a package before it is used.
    virtual void initializePackage(COSPackage* package);
    virtual bool isOption1();
    virtual bool isOption2();
    // The host's own: whether the namespace may gain content after population.
    virtual bool canLoadDynamicContent() const;

    COSNamespaceInfo(const COSNamespaceInfo&) = delete;
    COSNamespaceInfo& operator=(const COSNamespaceInfo&) = delete;
};

}  // namespace orrery
