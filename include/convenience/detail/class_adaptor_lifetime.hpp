#pragma once

#include <memory>

#include "convenience/export.hpp"
#include "host/cos_class.hpp"

namespace orrery::convenience {
struct COSClassInfoStruct;
}

namespace orrery::convenience::detail {

// Notes that the adaptor populated a host class for the record. True when the record
// takes that class as its cosClass; false when the record is already the finished
// population of another host class, through another adaptor that still exists (a record
// listed twice): the first class stays the record's, since its members went there.
ORRERY_CONVENIENCE_API bool noteClassAdaptorPopulated(const void* adaptor, const COSClassInfoStruct& record,
                                                      COSClass* cosClass) noexcept;
// The population through the adaptor ran to its end (a failed one does not hold the record).
ORRERY_CONVENIENCE_API void noteClassAdaptorSettled(const void* adaptor) noexcept;

// Called as the host destroys a class adaptor. A record that this adaptor populated
// forgets the host class (the host frees it with the adaptor); a record that no adaptor
// ever populated, and whose members nobody else holds, lets go of its members, which
// would otherwise keep it alive through their classHolder for ever.
ORRERY_CONVENIENCE_API void releaseClassAdaptor(const void* adaptor,
                                                const std::shared_ptr<COSClassInfoStruct>& record) noexcept;

}  // namespace orrery::convenience::detail
