#pragma once

// Type lookup: host classes by class id or data-type id, and the class a member belongs to.

#include "convenience/class_holder.hpp"
#include "convenience/export.hpp"
#include "host/cos_class.hpp"
#include "host/interned.hpp"

namespace orrery::convenience {

/// The host class registered under the id, or null. Never raises, despite the name.
ORRERY_CONVENIENCE_API COSClass* GetLumenClassWithAssert(const COSInternedBase<IdEmptyPolicy>& classId);
/// The class named by "<class> scalar" (the last " scalar" in the text), or null.
ORRERY_CONVENIENCE_API COSClass* GetLumenClassFromScalarDataTypeWithAssert(
    const COSInternedBase<IdEmptyPolicy>& typeId);
/// The class named by "<class> vector" (the last " vector" in the text), or null.
ORRERY_CONVENIENCE_API COSClass* GetLumenClassFromVectorDataTypeWithAssert(
    const COSInternedBase<IdEmptyPolicy>& typeId);
/// Whether the class derives from one of the host's built-in classes
/// (std::invalid_argument for a null class).
ORRERY_CONVENIENCE_API bool IsBuiltinEnumClass(const COSClass* cosClass);
/// The id of the class a member belongs to. A class record must have been populated by
/// the host already (std::logic_error otherwise).
ORRERY_CONVENIENCE_API COSInternedBase<IdEmptyPolicy> GetDefiningClassID(const ClassHolder& holder);

}  // namespace orrery::convenience
