#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "convenience/detail/record_tracker.hpp"
#include "convenience/export.hpp"
#include "convenience/method_info_struct.hpp"
#include "host/cos_package.hpp"
#include "host/interned.hpp"
#include "host/method_signature.hpp"

namespace orrery::convenience {

struct COSNamespaceInfoStruct;

// Describes one function that lives directly in a namespace. The host sees it through a
// ConfigurableCOSNamespaceFunctionInfo, which answers the attribute queries as a method
// left at its defaults would; the signature is built on the first request and kept.
struct ORRERY_CONVENIENCE_API COSNamespaceFunctionInfoStruct
    : std::enable_shared_from_this<COSNamespaceFunctionInfoStruct>,
      detail::RecordTracker<detail::RecordKind::function> {
    COSNamespaceFunctionInfoStruct();
    // Member-wise; a copy shares the cached signature and is owned by no shared pointer.
    COSNamespaceFunctionInfoStruct(const COSNamespaceFunctionInfoStruct& other);
    COSNamespaceFunctionInfoStruct(COSNamespaceFunctionInfoStruct&& other) noexcept;
    COSNamespaceFunctionInfoStruct& operator=(const COSNamespaceFunctionInfoStruct& other);
    COSNamespaceFunctionInfoStruct& operator=(COSNamespaceFunctionInfoStruct&& other) noexcept;
    ~COSNamespaceFunctionInfoStruct();

    std::string name;
    std::string description;
    std::string detailedDescription;
    bool hasVarargin = false;
    bool hasVarargout = false;
    InvokeFcn invokeFcn;  // default: does nothing
    bool spareFlag = false;  // carried, unread here
    std::vector<COSInternedBase<IdEmptyPolicy>> inputTypes;
    std::vector<COSInternedBase<IdEmptyPolicy>> outputTypes;
    std::vector<std::string> inputNames;  // empty: Input_1, Input_2, ...
    std::vector<std::string> outputNames;  // empty: Output_1, Output_2, ...
    std::int32_t signatureOption = 0;
    std::shared_ptr<COSMethodSignature> cachedSignature;

    // Built on the first call; later changes to inputs, outputs, markers or option do not reach it.
    std::shared_ptr<COSMethodSignature> getFunctionSignature();
    // Hands a new adaptor to the package at once.
    void attach(COSPackage* package);
    // Joins the namespace record (its addFunction); the adaptor is made when the namespace's package is populated.
    void attach(std::shared_ptr<COSNamespaceInfoStruct> namespaceRecord);

private:
    // Last: the record enters the ledger once every field above exists.
    [[no_unique_address]] detail::RecordSeal ledgerSeal_;
};

ORRERY_CONVENIENCE_API std::shared_ptr<COSNamespaceFunctionInfoStruct> createFunction();
ORRERY_CONVENIENCE_API std::shared_ptr<COSNamespaceFunctionInfoStruct> createFunction(const char* name);

}  // namespace orrery::convenience
