#pragma once

// COSMethodInfo: the host's metadata base class of a callable, virtual slots in the host's order.

#include <cstddef>

#include "host/access.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/method_signature.hpp"
#include "host/value.hpp"

namespace orrery {

// The host's metadata of one callable: a method, a constructor or a package function.
class ORRERY_HOST_API COSMethodInfo {
public:
    COSMethodInfo();
    virtual ~COSMethodInfo();

    static void* operator new(std::size_t bytes);
    static void operator delete(void* block) noexcept;

    virtual const char* getName();
    virtual const char* getDescription();
    virtual bool isLookupScope() const;
    virtual const char* getDetailedDescription();
    virtual COSAccessLevel getAccess();
    virtual ExtendedMemberAccess getExtendedAccess();
    virtual COSMethodSignature* getSignature();
    virtual void invoke(const COSClient* client, int& outputCount, COSValue* outputs, int inputCount,
                        const COSValue* inputs);
    virtual bool isAttribute1();
    virtual bool isAttribute2();
    virtual bool isAttribute3();
    virtual bool isAttribute4();
    virtual bool isAttribute5();
    virtual bool isAttribute6();
    virtual bool isAttribute7();
    virtual bool isAttribute8();
    virtual bool isAttribute9();

    COSMethodInfo(const COSMethodInfo&) = delete;
    COSMethodInfo& operator=(const COSMethodInfo&) = delete;
};

}  // namespace orrery
