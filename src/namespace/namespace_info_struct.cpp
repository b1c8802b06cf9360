#include "convenience/namespace_info_struct.hpp"

#include <algorithm>

#include "detail/member_loop.hpp"

#include <stdexcept>

#include "convenience/class_info_struct.hpp"
#include "convenience/namespace_function_info_struct.hpp"
#include "detail/argument_checks.hpp"
#include "detail/record_ledger.hpp"

namespace orrery::convenience {

COSNamespaceInfoStruct::COSNamespaceInfoStruct()
    : handleName1Fcn([](const char*) {}),
      handleName2Fcn([](const char*) {}),
      handleName3Fcn([](const char*) {}),
      handleName4Fcn([](const char*) {}),
      methodSelectorFcn([]() -> const COSMethodSelector* { return nullptr; }),
      populatePackageFcn([](COSPackage*) {}) {
    enterLedger();
}

// enable_shared_from_this copies no ownership link, and its assignment keeps the
// target's own, which is what copying a record means.
COSNamespaceInfoStruct::COSNamespaceInfoStruct(const COSNamespaceInfoStruct& other) = default;
COSNamespaceInfoStruct::COSNamespaceInfoStruct(COSNamespaceInfoStruct&& other) noexcept = default;
COSNamespaceInfoStruct& COSNamespaceInfoStruct::operator=(const COSNamespaceInfoStruct& other) = default;
COSNamespaceInfoStruct& COSNamespaceInfoStruct::operator=(COSNamespaceInfoStruct&& other) noexcept = default;
COSNamespaceInfoStruct::~COSNamespaceInfoStruct() {
    leaveLedger();
    // A class record listed here whose package the host never made still holds its
    // members, which hold it: when this list is all that reaches it, the loop goes too.
    for (const auto& cls : classes)
        if (cls) detail::releaseUnreachableMemberLoop(cls, std::count(classes.begin(), classes.end(), cls));
}

void COSNamespaceInfoStruct::addClass(COSClassInfo* classInfo) { classInfos.push_back(classInfo); }

void COSNamespaceInfoStruct::addClass(std::shared_ptr<COSClassInfoStruct> classRecord) {
    // The record must be flushed before it is listed; there is nothing to flush in a null one.
    detail::requireNonNull(classRecord, "addClass", "class record");
    classRecord->flush();
    classes.push_back(std::move(classRecord));
}

void COSNamespaceInfoStruct::addFunction(COSMethodInfo* functionInfo) { functionInfos.push_back(functionInfo); }

void COSNamespaceInfoStruct::addFunction(std::shared_ptr<COSNamespaceFunctionInfoStruct> function) {
    functions.push_back(std::move(function));
}

void COSNamespaceInfoStruct::addInnerNamespace(COSNamespaceInfo* namespaceInfo) {
    innerNamespaceInfos.push_back(namespaceInfo);
}

void COSNamespaceInfoStruct::addInnerNamespace(std::shared_ptr<COSNamespaceInfoStruct> inner) {
    detail::requireNonNull(inner, "addInnerNamespace", "namespace record");
    inner->flush();
    innerNamespaces.push_back(std::move(inner));
}

void COSNamespaceInfoStruct::attach(std::shared_ptr<COSNamespaceInfoStruct> parent) {
    detail::requireNonNull(parent, "attach", "parent namespace record");
    parent->addInnerNamespace(shared_from_this());
}

std::shared_ptr<COSNamespaceInfoStruct> createNamespace() { return std::make_shared<COSNamespaceInfoStruct>(); }

std::shared_ptr<COSNamespaceInfoStruct> createNamespace(const char* name) {
    detail::requireNonNull(name, "createNamespace", "name");
    return detail::makeNamedRecord<COSNamespaceInfoStruct>(name);
}

}  // namespace orrery::convenience

namespace orrery::convenience::detail {

template <>
const std::string& recordName<RecordKind::namespaceRecord>(const LedgerLink& link) noexcept {
    return recordOf<COSNamespaceInfoStruct, RecordKind::namespaceRecord>(link).name;
}

static_assert(sizeof(COSNamespaceInfoStruct) < recordSizeBound, "the ledger finds a record's seal within the bound");

}  // namespace orrery::convenience::detail
