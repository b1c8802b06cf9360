#pragma once

// COSClassInfo: the host's metadata base class of a class, virtual slots in the host's order.

#include <cstddef>
#include <cstdint>

#include "host/data_type.hpp"
#include "host/enumeration.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/interned.hpp"
#include "host/value.hpp"

namespace orrery {

class COSClass;

// The host's metadata of one class. The host owns every instance it is given and
// frees it through the virtual destructor; instances live on the host's metadata heap.
class ORRERY_HOST_API COSClassInfo {
public:
    COSClassInfo();
    virtual ~COSClassInfo();

    static void* operator new(std::size_t bytes);
    static void operator delete(void* block) noexcept;

    virtual const char* getName();
    virtual const char* getDescription();
    virtual const char* getDetailedDescription();
    virtual std::int32_t getClassInt1();
    virtual void populateClass(COSClass* cosClass, const COSClient* client);
    virtual void* allocateData(COSInterface* object);
    virtual void processObjectData(COSInterface* object, void* data);
    virtual void processData(void* data);
    virtual bool testClientObject(const COSClient* client, COSInterface* object);
    virtual bool isClassFlag1();
    virtual bool isClassFlag7();
    virtual bool isClassFlag8();
    virtual bool testName(const char* name);
    virtual bool canOtherClassContainThisClass(COSId otherClass) const;
    virtual bool canThisClassContainOtherClass(COSId otherClass) const;
    virtual bool isClassFlag9();
    virtual bool isClassFlag6();
    virtual bool isClassFlag4();
    virtual std::int32_t getClassInt2();
    virtual std::int32_t getClassInt3();
    virtual bool isClassFlag13();
    virtual bool isClassFlag3();
    virtual bool isClassFlag14();
    virtual bool isClassFlag2();
    virtual bool isClassFlag15();
    virtual bool isClassFlag5();
    virtual bool isClassFlag16();
    virtual bool isClassFlag17();
    virtual bool isClassFlag11();
    virtual bool isClassFlag10();
    virtual void loadObject(COSInterfacePtr object, const COSLoadInfo* loadInfo);
    virtual bool convertToValue(COSInterfacePtr object, COSValue& value, COSDataTypePtr& type);
    virtual void convertFromValue(COSInterfacePtr& object, COSValue value, COSDataTypePtr type);
    virtual std::int64_t getClassInt64();
    virtual bool areClassFunctionsAllowed() const;
    virtual bool isClassFlag18();
    virtual bool isClassFlag19();
    virtual bool isClassFlag20();
    virtual bool isClassFlag21();
    virtual bool isClassFlag22();
    virtual std::int32_t getClassInt4();
    virtual Enumeration<COSInterface*> enumerateObjects(COSInterface* object);
    virtual void notify();
    virtual bool isClassFlag23();
    virtual bool isClassFlag12();
    // The host's own copy: the property value named by `what` goes from source to target.
    virtual void copyData(const COSInterface* source, COSInterface* target, const COSId& what);
    virtual bool willAllocateData() const;

    COSClassInfo(const COSClassInfo&) = delete;
    COSClassInfo& operator=(const COSClassInfo&) = delete;
};

}  // namespace orrery
