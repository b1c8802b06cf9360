#include "convenience/constructor_info_struct.hpp"

#include <string>
#include <string_view>
#include <utility>

#include "convenience/class_info_struct.hpp"
#include "convenience/configurable_constructor_info.hpp"
#include "convenience/type_lookup.hpp"
#include "detail/argument_checks.hpp"
#include "detail/record_ledger.hpp"
#include "members/constructor_preparation.hpp"
#include "members/signature_builder.hpp"

namespace orrery::convenience {
namespace {

// "pkg.Point" -> "pkg.Point scalar": the data type of one object of the class. The text
// is made once, at its full length, and handed over to the host's table.
COSId classTypeId(const COSId& classId) {
    static constexpr std::string_view suffix = " scalar";
    const std::string& className = classId.str();
    std::string text;
    text.reserve(className.size() + suffix.size());
    text.append(className).append(suffix);
    return COSId(internal::makeInterned(std::move(text)));
}

}  // namespace

COSConstructorInfoStruct::COSConstructorInfoStruct()
    : invokeFcn([](const COSClient*, int&, COSValue*, int, const COSValue*) {}) {
    enterLedger();
}

COSConstructorInfoStruct::COSConstructorInfoStruct(const COSConstructorInfoStruct& other) = default;
COSConstructorInfoStruct::COSConstructorInfoStruct(COSConstructorInfoStruct&& other) noexcept = default;
COSConstructorInfoStruct& COSConstructorInfoStruct::operator=(const COSConstructorInfoStruct& other) = default;
COSConstructorInfoStruct& COSConstructorInfoStruct::operator=(COSConstructorInfoStruct&& other) noexcept = default;
COSConstructorInfoStruct::~COSConstructorInfoStruct() { leaveLedger(); }

std::shared_ptr<COSMethodSignature> COSConstructorInfoStruct::getConstructorSignature() {
    if (!cachedSignature) {
        if (outputTypes.empty()) outputTypes.push_back(classTypeId(GetDefiningClassID(classHolder)));
        detail::checkArgumentNames("constructor", name, inputTypes, inputNames, outputTypes, outputNames);
        cachedSignature = detail::buildSignature(inputTypes, inputNames, outputTypes, outputNames, hasVarargin,
                                                 hasVarargout, signatureOption);
    }
    return cachedSignature;
}

void COSConstructorInfoStruct::attach(COSClass* cosClass) {
    detail::requireNonNull(cosClass, "attach", "host class");
    if (name.empty()) {
        detail::requireNamesForClassOutput(*this, "attach");
        detail::assignName(name, cosClass->getClassName());
        outputTypes.insert(outputTypes.begin(), classTypeId(cosClass->getClassID()));
        outputNames.insert(outputNames.begin(), "Output");
    }
    classHolder = cosClass->getClassID();
    cosClass->addMethodInfo(new ConfigurableCOSConstructorInfo(shared_from_this()));
}

void COSConstructorInfoStruct::attach(std::shared_ptr<COSClassInfoStruct> classRecord) {
    detail::requireNonNull(classRecord, "attach", "class record");
    detail::prepareForClassRecord(
        *this, *classRecord, [&] { return classRecord; }, "attach");
    classRecord->addConstructorUnsafe(shared_from_this());
}

std::shared_ptr<COSConstructorInfoStruct> createConstructor() { return std::make_shared<COSConstructorInfoStruct>(); }

std::shared_ptr<COSConstructorInfoStruct> createUnsupportedConstructor(const std::string& name) {
    auto record = createConstructor();
    record->inputTypes = {makeId("any")};
    record->inputNames = {"varargin"};
    record->hasVarargin = true;
    record->invokeFcn = [name](const COSClient*, int&, COSValue*, int, const COSValue*) {
        using foundation::core::except::Message;
        throw ConstructorNotSupportedError(Message{{name}, "LUMEN:orrery_convenience", "ConstructorNotSupported"});
    };
    return record;
}

}  // namespace orrery::convenience

namespace orrery::convenience::detail {

template <>
const std::string& recordName<RecordKind::constructor>(const LedgerLink& link) noexcept {
    return recordOf<COSConstructorInfoStruct, RecordKind::constructor>(link).name;
}

static_assert(sizeof(COSConstructorInfoStruct) < recordSizeBound, "the ledger finds a record's seal within the bound");

}  // namespace orrery::convenience::detail
