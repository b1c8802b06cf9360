#include "convenience/prop_info_struct.hpp"

#include <stdexcept>

#include "convenience/class_info_struct.hpp"
#include "convenience/configurable_prop_info.hpp"
#include "convenience/detail/hook_call.hpp"
#include "detail/argument_checks.hpp"
#include "detail/record_ledger.hpp"
#include "host/data_type.hpp"

namespace orrery::convenience {
namespace {

// Looks the record's type up; an unknown type is reported to the host, which usually
// raises. The returned handle keeps the data type alive while the caller uses it.
COSDataTypePtr validatedType(const COSPropInfoStruct& record) {
    COSInterfacePtr found = COSTypeRepository::getType(record.type);
    COSDataTypePtr dataType(found);
    found.reset();
    if (!COSDataTypePtrHelper::getObject(dataType)) {
        COSId nameId = record.name.empty() ? COSId() : makeId(record.name);
        issueInvalidPropertyDatatypeAssertion(nameId, record.type);
    }
    return dataType;
}

// Hands a computed default back to its data type, looked up afresh.
void releaseCachedDefault(const COSPropInfoStruct& record) {
    if (!record.factoryDefaultValue) return;
    COSDataTypePtr dataType(COSTypeRepository::getType(record.type));
    if (COSDataType* object = COSDataTypePtrHelper::getObject(dataType))
        object->releaseValue(*record.factoryDefaultValue);
    record.factoryDefaultValue.reset();
}

// The implicit factory default: the data type's own default value, read from the record
// it was installed on. A copy of that record carries it too and keeps reading the
// original while the original lives; once it is gone the copy answers from its own type.
struct ImplicitDefault {
    const COSPropInfoStruct* installedOn;
    detail::RecordIdentity installedOnIdentity;
    const COSPropInfoStruct* copy = nullptr;
    detail::RecordIdentity copyIdentity;

    COSValue operator()() const {
        const COSPropInfoStruct* record = installedOnIdentity.isAlive()    ? installedOn
                                          : copy && copyIdentity.isAlive() ? copy
                                                                           : nullptr;
        // Only a callable copied out of every record that carried it gets here.
        if (!record) throw std::logic_error("the property record this implicit factory default was made for is gone");
        COSDataTypePtr dataType = validatedType(*record);
        COSDataType* object = COSDataTypePtrHelper::getObject(dataType);
        if (!object) return COSValue();  // the host let an unknown type pass
        COSId id = object->getTypeID();
        return object->makeDefaultValue(id);
    }
};

// Interned once: every new record starts with it, and an id never changes.
COSId anyType() {
    static const COSId any = makeId("any");
    return any;
}

}  // namespace

COSPropInfoStruct::COSPropInfoStruct()
    : type(anyType()),
      getFcn([](COSInterface*) { return COSValue(); }),
      setFcn([](COSInterface*, COSValue) {}),
      setAlternateFcn([](COSInterface*, COSValue) {}),
      factoryDefaultFcn([] { return COSValue(); }),
      enumerateInterfacesFcn([](const COSClient*, COSInterface*) { return Enumeration<COSInterface*>(); }),
      enumerateArraysFcn([](const COSClient*, COSInterface*) { return Enumeration<hxArray*>(); }) {
    enterLedger();
}

// The cache stays out of copies: each record releases only the default it computed.
COSPropInfoStruct::COSPropInfoStruct(const COSPropInfoStruct& other) : COSPropInfoStruct() { *this = other; }

COSPropInfoStruct& COSPropInfoStruct::operator=(const COSPropInfoStruct& other) {
    if (this == &other) return *this;
    releaseCachedDefault(*this);
    propertyAttribute13 = other.propertyAttribute13;
    propertyAttribute12 = other.propertyAttribute12;
    propertyAttribute4 = other.propertyAttribute4;
    propertyAttribute5 = other.propertyAttribute5;
    notPropertyAttribute11 = other.notPropertyAttribute11;
    propertyAttribute7 = other.propertyAttribute7;
    propertyAttribute8 = other.propertyAttribute8;
    propertyAttribute9 = other.propertyAttribute9;
    propertyAttribute10 = other.propertyAttribute10;
    propertyAttribute1 = other.propertyAttribute1;
    spareFlag = other.spareFlag;
    propertyAttribute6 = other.propertyAttribute6;
    propertyAttribute2 = other.propertyAttribute2;
    propertyAttribute3 = other.propertyAttribute3;
    propertyAttribute14 = other.propertyAttribute14;
    canContainInterfacesState = other.canContainInterfacesState;
    getterAccess = other.getterAccess;
    setterAccess = other.setterAccess;
    // A copy is in the ledger before this runs (it delegates to the default constructor):
    // its name changes while no report reads it.
    detail::assignName(name, other.name);
    description = other.description;
    detailedDescription = other.detailedDescription;
    type = other.type;
    getFcn = other.getFcn;
    setFcn = other.setFcn;
    setAlternateFcn = other.setAlternateFcn;
    factoryDefaultFcn = other.factoryDefaultFcn;
    // A carried implicit default learns about this copy, to answer from once the record
    // it was installed on is gone.
    if (auto* implicit = factoryDefaultFcn.target<ImplicitDefault>()) {
        implicit->copy = this;
        implicit->copyIdentity = detail::identityOf(*this);
    }
    enumerateInterfacesFcn = other.enumerateInterfacesFcn;
    enumerateArraysFcn = other.enumerateArraysFcn;
    classHolder = other.classHolder;
    return *this;
}

COSPropInfoStruct::~COSPropInfoStruct() {
    leaveLedger();
    // A destructor must not throw, and looking the type up may (memory, a host error).
    // The value itself is freed with the record either way.
    try {
        releaseCachedDefault(*this);
    } catch (...) {}
}

COSValue COSPropInfoStruct::GetFactoryDefaultValue() const {
    if (factoryDefaultValue) return *factoryDefaultValue;
    COSDataTypePtr dataType = validatedType(*this);
    factoryDefaultValue = detail::callHook(factoryDefaultFcn, "factoryDefaultFcn", name);
    dataType.reset();
    return *factoryDefaultValue;
}

void COSPropInfoStruct::SetTypeAndImplicitFactoryDefaultFcn(const COSInternedBase<IdEmptyPolicy>& typeId) {
    // The identity first: if it cannot be taken, nothing changes.
    std::function<COSValue()> implicit = ImplicitDefault{this, detail::identityOf(*this), nullptr, {}};
    type = typeId;
    factoryDefaultFcn = std::move(implicit);
}

void COSPropInfoStruct::attach(COSClass* cosClass) {
    detail::requireNonNull(cosClass, "attach", "host class");
    classHolder = cosClass->getClassID();
    cosClass->addPropertyInfo(new ConfigurableCOSPropInfo(shared_from_this()));
}

void COSPropInfoStruct::attach(std::shared_ptr<COSClassInfoStruct> classRecord) {
    detail::requireNonNull(classRecord, "attach", "class record");
    classHolder = classRecord;
    classRecord->addProperty(shared_from_this());
}

std::shared_ptr<COSPropInfoStruct> createProperty() { return std::make_shared<COSPropInfoStruct>(); }

std::shared_ptr<COSPropInfoStruct> createProperty(const char* name) {
    detail::requireNonNull(name, "createProperty", "name");
    return detail::makeNamedRecord<COSPropInfoStruct>(name);
}

}  // namespace orrery::convenience

namespace orrery::convenience::detail {

template <>
const std::string& recordName<RecordKind::property>(const LedgerLink& link) noexcept {
    return recordOf<COSPropInfoStruct, RecordKind::property>(link).name;
}

static_assert(sizeof(COSPropInfoStruct) < recordSizeBound, "the ledger finds a record's seal within the bound");

}  // namespace orrery::convenience::detail
