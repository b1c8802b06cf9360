#pragma once

// The property record: COSPropInfoStruct describes one property of a class; createProperty
// makes one.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "convenience/class_holder.hpp"
#include "convenience/detail/record_tracker.hpp"
#include "convenience/export.hpp"
#include "host/access.hpp"
#include "host/array.hpp"
#include "host/cos_class.hpp"
#include "host/enumeration.hpp"
#include "host/interface_ptr.hpp"
#include "host/interned.hpp"
#include "host/value.hpp"

namespace orrery::convenience {

/// Describes one property of a class. Link it to a class record (attach or
/// COSClassInfoStruct::addProperty) or attach it to a host class directly.
struct ORRERY_CONVENIENCE_API COSPropInfoStruct : std::enable_shared_from_this<COSPropInfoStruct>,
                                                  detail::RecordTracker<detail::RecordKind::property> {
    COSPropInfoStruct();
    /// Copies every field but the cached factory default, which each record computes and
    /// releases itself; the copy is owned by no shared pointer yet.
    COSPropInfoStruct(const COSPropInfoStruct& other);
    /// Releases the target's own cached default first.
    COSPropInfoStruct& operator=(const COSPropInfoStruct& other);
    /// Hands a cached factory default back to its data type.
    virtual ~COSPropInfoStruct();

    /// propertyAttributeN answers isPropertyAttributeN; isPropertyAttribute11 answers the
    /// inverse of notPropertyAttribute11.
    bool propertyAttribute13 : 1 = false;
    bool propertyAttribute12 : 1 = false;
    bool propertyAttribute4 : 1 = false;
    bool propertyAttribute5 : 1 = false;
    bool notPropertyAttribute11 : 1 = false;
    bool propertyAttribute7 : 1 = true;
    bool propertyAttribute8 : 1 = true;
    bool propertyAttribute9 : 1 = true;
    bool propertyAttribute10 : 1 = false;
    bool propertyAttribute1 : 1 = false;
    bool spareFlag : 1 = false;  ///< carried, unread here
    bool propertyAttribute6 : 1 = true;
    bool propertyAttribute2 : 1 = false;
    bool propertyAttribute3 : 1 = false;
    bool propertyAttribute14 : 1 = false;
    std::int32_t canContainInterfacesState = 2;  ///< 0 no, 1 yes, 2 ask the host once
    COSAccessLevel getterAccess = COSAccessPublic;
    COSAccessLevel setterAccess = COSAccessPublic;
    std::string name;
    std::string description;
    std::string detailedDescription;  ///< carried, unread here
    COSInternedBase<IdEmptyPolicy> type;  ///< data-type id; default: "any"
    std::function<COSValue(COSInterface*)> getFcn;  ///< default: empty value
    std::function<void(COSInterface*, COSValue)> setFcn;
    std::function<void(COSInterface*, COSValue)> setAlternateFcn;
    std::function<COSValue()> factoryDefaultFcn;  ///< default: empty value
    mutable std::optional<COSValue> factoryDefaultValue;  ///< cache of GetFactoryDefaultValue
    std::function<Enumeration<COSInterface*>(const COSClient*, COSInterface*)> enumerateInterfacesFcn;
    std::function<Enumeration<hxArray*>(const COSClient*, COSInterface*)> enumerateArraysFcn;
    ClassHolder classHolder;

    /// Validates the type and calls factoryDefaultFcn on the first call only.
    COSValue GetFactoryDefaultValue() const;
    /// Sets the type and makes the type's own default value the factory default.
    void SetTypeAndImplicitFactoryDefaultFcn(const COSInternedBase<IdEmptyPolicy>& typeId);
    /// Hands a new adaptor to the host class at once.
    void attach(COSClass* cosClass);
    void attach(std::shared_ptr<COSClassInfoStruct> classRecord);

private:
    // Last: the record enters the ledger once every field above exists.
    [[no_unique_address]] detail::RecordSeal ledgerSeal_;
};

/// A new property record with every default, unnamed or named.
ORRERY_CONVENIENCE_API std::shared_ptr<COSPropInfoStruct> createProperty();
ORRERY_CONVENIENCE_API std::shared_ptr<COSPropInfoStruct> createProperty(const char* name);

}  // namespace orrery::convenience
