#include "convenience/class_info_struct.hpp"

#include "convenience/constructor_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"
#include "detail/argument_checks.hpp"
#include "detail/record_ledger.hpp"
#include "members/constructor_preparation.hpp"

namespace orrery::convenience {
namespace {

// A class usually gets a handful of members of each kind: room for four at the first
// addition spares the growth steps of one, two and four, and publishing frees it all.
template <class List>
void makeFirstRoom(List& list) {
    if (list.capacity() == 0) list.reserve(4);
}

}  // namespace

COSClassInfoStruct::COSClassInfoStruct()
    : clientObjectTestFcn([](const COSClient*, COSInterface*) { return true; }),
      nameTestFcn([](const char*) { return false; }),
      populateClassFcn([](COSClass*, const COSClient*) {}),
      allocateDataFcn([](COSInterface*) -> void* { return nullptr; }),
      objectDataFcn([](COSInterface*, void*) {}),
      dataFcn([](void*) {}),
      loadObjectFcn([](COSInterfacePtr, const COSLoadInfo*) {}),
      toValueFcn([](COSInterfacePtr, COSValue&, COSDataTypePtr&) { return false; }),
      fromValueFcn([](COSInterfacePtr&, COSValue, COSDataTypePtr) {}),
      enumerateFcn([](COSInterface*) { return Enumeration<COSInterface*>(); }),
      notifyFcn([] {}) {
    enterLedger();
}

// enable_shared_from_this copies no ownership link, and its assignment keeps the
// target's own, which is what copying a record means.
COSClassInfoStruct::COSClassInfoStruct(const COSClassInfoStruct& other) = default;
COSClassInfoStruct& COSClassInfoStruct::operator=(const COSClassInfoStruct& other) = default;
COSClassInfoStruct::~COSClassInfoStruct() { leaveLedger(); }

void COSClassInfoStruct::setClassHolder(std::shared_ptr<COSMethodInfoStruct> method) {
    detail::requireNonNull(method, "setClassHolder", "method record");
    method->classHolder = shared_from_this();
}

void COSClassInfoStruct::setClassHolder(std::shared_ptr<COSPropInfoStruct> property) {
    detail::requireNonNull(property, "setClassHolder", "property record");
    property->classHolder = shared_from_this();
}

void COSClassInfoStruct::addProperty(std::shared_ptr<COSPropInfoStruct> property) {
    detail::requireNonNull(property, "addProperty", "property record");
    property->classHolder = shared_from_this();  // what setClassHolder does, without a second share
    makeFirstRoom(propertyRecords);
    propertyRecords.push_back(std::move(property));
}

void COSClassInfoStruct::addProperty(COSPropInfo* property) { propertyInfos.push_back(property); }

void COSClassInfoStruct::addMethod(std::shared_ptr<COSMethodInfoStruct> method) {
    detail::requireNonNull(method, "addMethod", "method record");
    method->classHolder = shared_from_this();  // what setClassHolder does, without a second share
    makeFirstRoom(methodRecords);
    methodRecords.push_back(std::move(method));
}

void COSClassInfoStruct::addMethod(COSMethodInfo* method) { methodInfos.push_back(method); }

void COSClassInfoStruct::addConstructor(std::shared_ptr<COSConstructorInfoStruct> constructor) {
    detail::requireNonNull(constructor, "addConstructor", "constructor record");
    detail::prepareForClassRecord(
        *constructor, *this, [this] { return shared_from_this(); }, "addConstructor");
    addConstructorUnsafe(std::move(constructor));
}

void COSClassInfoStruct::addConstructorUnsafe(std::shared_ptr<COSConstructorInfoStruct> constructor) {
    constructorRecords.push_back(std::move(constructor));
}

void COSClassInfoStruct::addSuperclass(const COSInternedBase<IdEmptyPolicy>& id, bool firstFlag, int number,
                                       bool secondFlag) {
    superclasses.push_back(SuperclassEntry{id, firstFlag, number, secondFlag});
}

std::shared_ptr<COSClassInfoStruct> createClass() { return std::make_shared<COSClassInfoStruct>(); }

std::shared_ptr<COSClassInfoStruct> createClass(const char* name) {
    detail::requireNonNull(name, "createClass", "name");
    return detail::makeNamedRecord<COSClassInfoStruct>(name);
}

}  // namespace orrery::convenience

namespace orrery::convenience::detail {

template <>
const std::string& recordName<RecordKind::classRecord>(const LedgerLink& link) noexcept {
    return recordOf<COSClassInfoStruct, RecordKind::classRecord>(link).name;
}

static_assert(sizeof(COSClassInfoStruct) < recordSizeBound, "the ledger finds a record's seal within the bound");

}  // namespace orrery::convenience::detail
