#include "convenience/type_lookup.hpp"

#include <stdexcept>
#include <string>

#include "convenience/class_info_struct.hpp"
#include "detail/argument_checks.hpp"
#include "detail/class_populations.hpp"

namespace orrery::convenience {
namespace {

// The class named by a data-type id: the text before the last occurrence of the suffix,
// wherever it stands. Null when the suffix is missing.
COSClass* classFromDataType(const COSInternedBase<IdEmptyPolicy>& typeId, const std::string& suffix) {
    const std::string& text = typeId.str();
    std::size_t at = text.rfind(suffix);
    if (at == std::string::npos) return nullptr;
    COSId classId = at == 0 ? COSId() : makeId(text.substr(0, at));
    return COSClass::getClass(classId);
}

}  // namespace

COSClass* GetLumenClassWithAssert(const COSInternedBase<IdEmptyPolicy>& classId) { return COSClass::getClass(classId); }

COSClass* GetLumenClassFromScalarDataTypeWithAssert(const COSInternedBase<IdEmptyPolicy>& typeId) {
    return classFromDataType(typeId, " scalar");
}

COSClass* GetLumenClassFromVectorDataTypeWithAssert(const COSInternedBase<IdEmptyPolicy>& typeId) {
    return classFromDataType(typeId, " vector");
}

bool IsBuiltinEnumClass(const COSClass* cosClass) {
    detail::requireNonNull(cosClass, "IsBuiltinEnumClass", "host class");
    return omIsSubclassOfBuiltin(const_cast<COSClass*>(cosClass)->getClassID());
}

COSInternedBase<IdEmptyPolicy> GetDefiningClassID(const ClassHolder& holder) {
    if (const auto* id = std::get_if<0>(&holder)) return *id;
    std::shared_ptr<COSClassInfoStruct> record = std::get<1>(holder);  // valueless: bad_variant_access
    if (!record) throw std::logic_error("the member's class record is null");
    if (!record->cosClass)
        throw std::logic_error("the class record '" + record->name +
                               "' has no host class yet: the host has not populated it");
    // A copy of a populated record keeps its source's host class after the host let go of it.
    if (detail::isReleasedHostClass(*record))
        throw std::logic_error("the class record '" + record->name +
                               "' points at a host class that the host has let go of");
    return record->cosClass->getClassID();
}

}  // namespace orrery::convenience
