#pragma once

// The constructor record: COSConstructorInfoStruct describes one constructor of a class;
// createConstructor and createUnsupportedConstructor make one.

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "convenience/class_holder.hpp"
#include "convenience/detail/record_tracker.hpp"
#include "convenience/export.hpp"
#include "convenience/method_info_struct.hpp"
#include "host/access.hpp"
#include "host/cos_class.hpp"
#include "host/exception.hpp"
#include "host/interned.hpp"
#include "host/method_signature.hpp"

namespace LUMEN::orrery_convenience {
struct ORRERY_CONVENIENCE_API ConstructorNotSupported;
}

namespace orrery::convenience {

/// Raised by the constructors made with createUnsupportedConstructor: the host error
/// "LUMEN:orrery_convenience:ConstructorNotSupported".
using ConstructorNotSupportedError =
    foundation::core::except::Exception<LUMEN::orrery_convenience::ConstructorNotSupported, std::exception, void>;

/// Describes one constructor of a class. Its output, the new object, is typed as the
/// class's scalar data type unless the record declares outputs itself. Linked to a class
/// record, an unnamed constructor takes the class's name and the output name "Output".
struct ORRERY_CONVENIENCE_API COSConstructorInfoStruct : std::enable_shared_from_this<COSConstructorInfoStruct>,
                                                         detail::RecordTracker<detail::RecordKind::constructor> {
    COSConstructorInfoStruct();
    COSConstructorInfoStruct(const COSConstructorInfoStruct& other);
    COSConstructorInfoStruct(COSConstructorInfoStruct&& other) noexcept;
    COSConstructorInfoStruct& operator=(const COSConstructorInfoStruct& other);
    COSConstructorInfoStruct& operator=(COSConstructorInfoStruct&& other) noexcept;
    ~COSConstructorInfoStruct();

    std::string name;  ///< empty: taken from the class when linked
    std::string description;
    std::string detailedDescription;
    COSAccessLevel access = COSAccessPublic;
    ExtendedMemberAccess extendedAccess{COSAccessPublic};
    /// attributeN answers isAttributeN; isAttribute5 answers the inverse of notAttribute5.
    bool attribute3 = false;
    bool attribute4 = false;
    bool spareFlag = true;  ///< carried, unread here
    bool attribute8 = false;
    bool notAttribute5 = true;
    bool hasVarargin = false;
    bool hasVarargout = false;
    InvokeFcn invokeFcn;  ///< the construction itself; default: does nothing
    bool attribute6 = true;
    bool attribute7 = true;
    bool attribute9 = false;
    std::vector<COSInternedBase<IdEmptyPolicy>> inputTypes;
    std::vector<COSInternedBase<IdEmptyPolicy>> outputTypes;
    std::vector<std::string> inputNames;
    std::vector<std::string> outputNames;
    std::int32_t signatureOption = 0;
    ClassHolder classHolder;
    std::shared_ptr<COSMethodSignature> cachedSignature;  ///< built on the first request, then kept

    /// Built on the first call; adds the class's scalar type when no output is declared.
    std::shared_ptr<COSMethodSignature> getConstructorSignature();
    /// Hands a new adaptor to the host class at once.
    void attach(COSClass* cosClass);
    void attach(std::shared_ptr<COSClassInfoStruct> classRecord);

private:
    // Last: the record enters the ledger once every field above exists.
    [[no_unique_address]] detail::RecordSeal ledgerSeal_;
};

/// A new constructor record with every default.
ORRERY_CONVENIENCE_API std::shared_ptr<COSConstructorInfoStruct> createConstructor();
/// A constructor whose every call raises ConstructorNotSupportedError naming `name`.
ORRERY_CONVENIENCE_API std::shared_ptr<COSConstructorInfoStruct> createUnsupportedConstructor(const std::string& name);

}  // namespace orrery::convenience
