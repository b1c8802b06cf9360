#include "convenience/namespace_function_info_struct.hpp"

#include <stdexcept>

#include "convenience/configurable_namespace_function_info.hpp"
#include "convenience/namespace_info_struct.hpp"
#include "detail/argument_checks.hpp"
#include "detail/record_ledger.hpp"
#include "members/signature_builder.hpp"

namespace orrery::convenience {

COSNamespaceFunctionInfoStruct::COSNamespaceFunctionInfoStruct()
    : invokeFcn([](const COSClient*, int&, COSValue*, int, const COSValue*) {}) {
    enterLedger();
}

COSNamespaceFunctionInfoStruct::COSNamespaceFunctionInfoStruct(const COSNamespaceFunctionInfoStruct& other) = default;
COSNamespaceFunctionInfoStruct::COSNamespaceFunctionInfoStruct(COSNamespaceFunctionInfoStruct&& other) noexcept =
    default;
COSNamespaceFunctionInfoStruct& COSNamespaceFunctionInfoStruct::operator=(const COSNamespaceFunctionInfoStruct& other) =
    default;
COSNamespaceFunctionInfoStruct& COSNamespaceFunctionInfoStruct::operator=(
    COSNamespaceFunctionInfoStruct&& other) noexcept = default;
COSNamespaceFunctionInfoStruct::~COSNamespaceFunctionInfoStruct() { leaveLedger(); }

std::shared_ptr<COSMethodSignature> COSNamespaceFunctionInfoStruct::getFunctionSignature() {
    if (!cachedSignature) {
        detail::checkArgumentNames("function", name, inputTypes, inputNames, outputTypes, outputNames);
        cachedSignature = detail::buildSignature(inputTypes, inputNames, outputTypes, outputNames, hasVarargin,
                                                 hasVarargout, signatureOption);
    }
    return cachedSignature;
}

void COSNamespaceFunctionInfoStruct::attach(COSPackage* package) {
    // Calling into a null package would be undefined; refuse before anything is made.
    detail::requireNonNull(package, "attach", "host package");
    // Allocation precedes shared_from_this(); if that throws, the new-expression hands
    // the memory back to COSMethodInfo::operator delete.
    package->addFunctionInfo(new ConfigurableCOSNamespaceFunctionInfo(shared_from_this()), 0, 2);
}

void COSNamespaceFunctionInfoStruct::attach(std::shared_ptr<COSNamespaceInfoStruct> namespaceRecord) {
    detail::requireNonNull(namespaceRecord, "attach", "namespace record");
    namespaceRecord->addFunction(shared_from_this());
}

std::shared_ptr<COSNamespaceFunctionInfoStruct> createFunction() {
    return std::make_shared<COSNamespaceFunctionInfoStruct>();
}

std::shared_ptr<COSNamespaceFunctionInfoStruct> createFunction(const char* name) {
    detail::requireNonNull(name, "createFunction", "name");
    return detail::makeNamedRecord<COSNamespaceFunctionInfoStruct>(name);
}

}  // namespace orrery::convenience

namespace orrery::convenience::detail {

template <>
const std::string& recordName<RecordKind::function>(const LedgerLink& link) noexcept {
    return recordOf<COSNamespaceFunctionInfoStruct, RecordKind::function>(link).name;
}

static_assert(sizeof(COSNamespaceFunctionInfoStruct) < recordSizeBound,
              "the ledger finds a record's seal within the bound");

}  // namespace orrery::convenience::detail
