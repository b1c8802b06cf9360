#pragma once

// Host data types: COSDataType, handles to them and the type repository.

#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/interned.hpp"
#include "host/value.hpp"

namespace orrery {

// A host data type: makes and takes back the default values of its type.
class ORRERY_HOST_API COSDataType {
public:
    virtual ~COSDataType();
    virtual COSId getTypeID() = 0;
    virtual COSValue makeDefaultValue(COSId typeId) = 0;
    virtual void releaseValue(COSValue value) = 0;
};

// Handle to a data type. Made from the repository's answer or straight from a type id.
class ORRERY_HOST_API COSDataTypePtr {
public:
    COSDataTypePtr() noexcept = default;
    explicit COSDataTypePtr(COSInterfacePtr type) noexcept : type_(std::move(type)) {}
    // Looks the id up in the type repository; an unknown id gives an empty handle.
    explicit COSDataTypePtr(const COSId& typeId);

    const COSInterfacePtr& interface() const noexcept { return type_; }
    void reset() noexcept { type_.reset(); }

private:
    COSInterfacePtr type_;
};

struct ORRERY_HOST_API COSDataTypePtrHelper {
    // The data type behind the handle, null when there is none.
    static COSDataType* getObject(const COSDataTypePtr& type) noexcept;
};

struct ORRERY_HOST_API COSTypeRepository {
    // The type registered under the id, or an empty handle.
    static COSInterfacePtr getType(const COSId& typeId);
};

// The host's report of a property declared with a type it does not know.
ORRERY_HOST_API void issueInvalidPropertyDatatypeAssertion(const COSId& propertyName, const COSId& typeId);

}  // namespace orrery
