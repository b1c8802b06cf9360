#pragma once

#include <vector>

#include "convenience/class_info_struct.hpp"

namespace orrery::convenience::detail {

// Notes that the adaptor populated a host class for the record, which takes that class as
// its cosClass.
void noteClassAdaptorPopulated(const void* adaptor, const COSClassInfoStruct& record, COSClass* cosClass) noexcept;

// Whether the host let go of the record's host class: the adaptor whose population set
// cosClass is gone. Copies of a populated record carry its cosClass along, and nothing
// clears theirs; this is how a reader tells that such a pointer leads nowhere. A cosClass
// that no population set (the client's own) is not judged.
bool isReleasedHostClass(const COSClassInfoStruct& record) noexcept;

// The live host classes that adaptors of this record populated besides its own cosClass:
// not empty when the record is listed more than once and the host made a class for each.
std::vector<COSClass*> otherHostClassesOf(const COSClassInfoStruct& record);

}  // namespace orrery::convenience::detail
