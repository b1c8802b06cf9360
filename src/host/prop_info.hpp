#pragma once

// COSPropInfo: the host's metadata base class of a property, virtual slots in the host's order.

#include "host/access.hpp"
#include "host/array.hpp"
#include "host/data_type.hpp"
#include "host/enumeration.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

namespace orrery {

// The host's metadata of one property. Unlike the other metadata classes it lives on
// the ordinary heap.
class ORRERY_HOST_API COSPropInfo {
public:
    COSPropInfo();
    virtual ~COSPropInfo();

    virtual const char* getName();
    virtual const char* getDescription();
    virtual const char* getDetailedDescription() const;
    virtual COSValue getFactoryDefault();
    virtual COSDataTypePtr getDataType();
    virtual COSAccessLevel getGetAccess();
    virtual ExtendedMemberAccess getExtendedGetAccess() const;
    virtual COSAccessLevel getSetAccess();
    virtual ExtendedMemberAccess getExtendedSetAccess() const;
    virtual bool isSealed() const;
    virtual bool hasInternalDefault() const;
    virtual bool isPropertyAttribute1();
    virtual bool isPropertyAttribute2();
    virtual bool isPropertyAttribute3();
    virtual bool isPropertyAttribute4();
    virtual bool isPropertyAttribute5();
    virtual bool isPropertyAttribute6();
    virtual bool isWarnOnCopyError() const;
    virtual bool isPropertyAttribute7();
    virtual bool isPropertyAttribute8();
    virtual bool isPropertyAttribute9();
    virtual bool isPropertyAttribute10();
    virtual bool isPropertyAttribute11();
    virtual bool isNeverAmbiguous() const;
    virtual double getPartialMatchPriority() const;
    virtual bool isPropertyAttribute12();
    virtual bool isPropertyAttribute13();
    virtual bool isPropertyAttribute14();
    virtual bool isWeakReference() const;
    virtual COSValue getValue(COSInterface* object);
    virtual void setValue(COSInterface* object, COSValue value);
    virtual void setValueAlternate(COSInterface* object, COSValue value);
    // The host's own answer: whether values of the property's data type may hold objects.
    virtual bool canContainInterfaces();
    virtual bool isDestructible() const;
    virtual Enumeration<COSInterface*> enumerateInterfaces(const COSClient* client, COSInterface* object);
    virtual Enumeration<hxArray*> enumerateArrays(const COSClient* client, COSInterface* object);

    COSPropInfo(const COSPropInfo&) = delete;
    COSPropInfo& operator=(const COSPropInfo&) = delete;
};

}  // namespace orrery
