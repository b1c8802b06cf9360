#pragma once

// COSClass: the host's class object, and its class registry.

#include "host/host_export.hpp"
#include "host/interned.hpp"

namespace orrery {

class COSClassInfo;
class COSPropInfo;
class COSMethodInfo;
class COSEventInfo;

// A class of the host's object system. The registry makes one for each class info it
// holds, the first time the class is asked for, and lets the class info populate it.
class ORRERY_HOST_API COSClass {
public:
    // Registers the class info under its name; the registry owns it from now on.
    static void addClass(COSClassInfo* info);
    // The class registered under the id (populated on first request), or null.
    static COSClass* getClass(const COSId& id);

    // Each add takes ownership of what it is given.
    virtual void addSuperclass(const COSId& superclass, bool firstFlag, int number, bool secondFlag) = 0;
    virtual void addPropertyInfo(COSPropInfo* info) = 0;
    virtual void addEventInfo(COSEventInfo* info) = 0;
    virtual void addMethodInfo(COSMethodInfo* info) = 0;
    virtual COSId getClassID() = 0;
    virtual const char* getClassName() = 0;
    virtual ~COSClass();
};

// Whether the class with this id derives from one of the host's built-in classes.
ORRERY_HOST_API bool omIsSubclassOfBuiltin(const COSId& classId);

}  // namespace orrery
