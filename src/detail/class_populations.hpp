#pragma once

#include <vector>

#include "convenience/class_info_struct.hpp"

namespace orrery::convenience::detail {

// Notes that the adaptor populated a host class for the record. True when the record
// takes that class as its cosClass; false when the record is already the finished
// population of another host class, through another adaptor that still exists (a record
// listed twice): the first class stays the record's, since its members went there.
bool noteClassAdaptorPopulated(const void* adaptor, const COSClassInfoStruct& record, COSClass* cosClass) noexcept;
// The population through the adaptor ran to its end (a failed one does not hold the record).
void noteClassAdaptorSettled(const void* adaptor) noexcept;

// Whether the host let go of the record's host class: the adaptor whose population set
// cosClass is gone. Copies of a populated record carry its cosClass along, and nothing
// clears theirs; this is how a reader tells that such a pointer leads nowhere. A cosClass
// that no population set (the client's own) is not judged.
bool isReleasedHostClass(const COSClassInfoStruct& record) noexcept;

// The live host classes that adaptors of this record populated besides its own cosClass:
// not empty when the record is listed more than once and the host made a class for each.
std::vector<COSClass*> otherHostClassesOf(const COSClassInfoStruct& record);

}  // namespace orrery::convenience::detail
