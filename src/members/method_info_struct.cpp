#include "convenience/method_info_struct.hpp"

#include "convenience/class_info_struct.hpp"
#include "convenience/configurable_method_info.hpp"
#include "detail/argument_checks.hpp"
#include "detail/record_ledger.hpp"
#include "members/signature_builder.hpp"

namespace orrery::convenience {

COSMethodInfoStruct::COSMethodInfoStruct() : invokeFcn([](const COSClient*, int&, COSValue*, int, const COSValue*) {}) {
    enterLedger();
}

COSMethodInfoStruct::COSMethodInfoStruct(const COSMethodInfoStruct& other) = default;
COSMethodInfoStruct::COSMethodInfoStruct(COSMethodInfoStruct&& other) noexcept = default;
COSMethodInfoStruct& COSMethodInfoStruct::operator=(const COSMethodInfoStruct& other) = default;
COSMethodInfoStruct& COSMethodInfoStruct::operator=(COSMethodInfoStruct&& other) noexcept = default;
COSMethodInfoStruct::~COSMethodInfoStruct() { leaveLedger(); }

std::shared_ptr<COSMethodSignature> COSMethodInfoStruct::getMethodSignature() {
    if (!cachedSignature) {
        detail::checkArgumentNames("method", name, inputTypes, inputNames, outputTypes, outputNames);
        cachedSignature = detail::buildSignature(inputTypes, inputNames, outputTypes, outputNames, hasVarargin,
                                                 hasVarargout, signatureOption);
    }
    return cachedSignature;
}

void COSMethodInfoStruct::attach(COSClass* cosClass) {
    detail::requireNonNull(cosClass, "attach", "host class");
    classHolder = cosClass->getClassID();
    // Allocation precedes shared_from_this(); if that throws, the new-expression hands
    // the memory back to COSMethodInfo::operator delete.
    cosClass->addMethodInfo(new ConfigurableCOSMethodInfo(shared_from_this()));
}

void COSMethodInfoStruct::attach(std::shared_ptr<COSClassInfoStruct> classRecord) {
    detail::requireNonNull(classRecord, "attach", "class record");
    classHolder = classRecord;
    classRecord->addMethod(shared_from_this());
}

std::shared_ptr<COSMethodInfoStruct> createMethod() { return std::make_shared<COSMethodInfoStruct>(); }

std::shared_ptr<COSMethodInfoStruct> createMethod(const std::string& name) {
    return detail::makeNamedRecord<COSMethodInfoStruct>(name);
}

}  // namespace orrery::convenience

namespace orrery::convenience::detail {

template <>
const std::string& recordName<RecordKind::method>(const LedgerLink& link) noexcept {
    return recordOf<COSMethodInfoStruct, RecordKind::method>(link).name;
}

static_assert(sizeof(COSMethodInfoStruct) < recordSizeBound, "the ledger finds a record's seal within the bound");

}  // namespace orrery::convenience::detail
