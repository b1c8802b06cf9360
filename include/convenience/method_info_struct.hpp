#pragma once

// The method record: COSMethodInfoStruct describes one method of a class; createMethod
// makes one.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "convenience/class_holder.hpp"
#include "convenience/detail/record_tracker.hpp"
#include "convenience/export.hpp"
#include "host/access.hpp"
#include "host/cos_class.hpp"
#include "host/interned.hpp"
#include "host/method_signature.hpp"
#include "host/value.hpp"

namespace orrery::convenience {

/// The host's call of a callable: client, number of outputs asked for (the callee sets how
/// many it filled), outputs to fill, number of inputs, inputs.
using InvokeFcn = std::function<void(const COSClient*, int&, COSValue*, int, const COSValue*)>;

/// Describes one method of a class. The signature the host sees is built from the
/// signature fields on its first request and never rebuilt.
struct ORRERY_CONVENIENCE_API COSMethodInfoStruct : std::enable_shared_from_this<COSMethodInfoStruct>,
                                                    detail::RecordTracker<detail::RecordKind::method> {
    COSMethodInfoStruct();
    COSMethodInfoStruct(const COSMethodInfoStruct& other);
    COSMethodInfoStruct(COSMethodInfoStruct&& other) noexcept;
    COSMethodInfoStruct& operator=(const COSMethodInfoStruct& other);
    COSMethodInfoStruct& operator=(COSMethodInfoStruct&& other) noexcept;
    ~COSMethodInfoStruct();

    /// attributeN answers isAttributeN; isAttribute5 answers the inverse of notAttribute5.
    bool attribute2 : 1 = false;
    bool attribute3 : 1 = false;
    bool attribute4 : 1 = false;
    bool attribute8 : 1 = false;
    bool notAttribute5 : 1 = false;
    bool attribute1 : 1 = false;
    bool attribute6 : 1 = true;
    bool attribute7 : 1 = true;
    bool attribute9 : 1 = false;
    bool lookupScope : 1 = true;  ///< answers isLookupScope
    bool hasVarargin : 1 = false;
    bool hasVarargout : 1 = false;
    COSAccessLevel access = COSAccessPublic;
    /// What getExtendedAccess answers when it grants access to named classes or functions;
    /// otherwise that answer is the plain access.
    ExtendedMemberAccess extendedAccess{COSAccessPublic};
    std::string name;
    std::string description;
    std::string detailedDescription;
    std::vector<COSInternedBase<IdEmptyPolicy>> inputTypes;
    std::vector<COSInternedBase<IdEmptyPolicy>> outputTypes;
    std::vector<std::string> inputNames;  ///< empty: Input_1, Input_2, ...
    std::vector<std::string> outputNames;  ///< empty: Output_1, Output_2, ...
    std::int32_t signatureOption = 0;  ///< passed to the host signature unchanged
    InvokeFcn invokeFcn;  ///< the call itself; default: does nothing; must not replace itself while it runs
    ClassHolder classHolder;
    std::shared_ptr<COSMethodSignature> cachedSignature;  ///< built on the first request, then kept

    /// The cached signature, built on the first call.
    std::shared_ptr<COSMethodSignature> getMethodSignature();
    /// Hands a new adaptor to the host class at once.
    void attach(COSClass* cosClass);
    void attach(std::shared_ptr<COSClassInfoStruct> classRecord);

private:
    // Last: the record enters the ledger once every field above exists.
    [[no_unique_address]] detail::RecordSeal ledgerSeal_;
};

/// A new method record with every default, unnamed or named.
ORRERY_CONVENIENCE_API std::shared_ptr<COSMethodInfoStruct> createMethod();
ORRERY_CONVENIENCE_API std::shared_ptr<COSMethodInfoStruct> createMethod(const std::string& name);

}  // namespace orrery::convenience
