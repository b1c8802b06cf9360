#pragma once

#include <memory>

#include "convenience/export.hpp"
#include "host/cos_class.hpp"

namespace orrery::convenience {
struct COSClassInfoStruct;
}

namespace orrery::convenience::detail {

// Remembers which host class a class adaptor populated, so that its destruction can tell
// whether the record still points at that class.
ORRERY_CONVENIENCE_API void noteClassAdaptorPopulated(const void* adaptor, COSClass* cosClass) noexcept;

// Called as the host destroys a class adaptor. A record that this adaptor populated
// forgets the host class (the host frees it with the adaptor); a record that no adaptor
// ever populated, and whose members nobody else holds, lets go of its members, which
// would otherwise keep it alive through their classHolder for ever.
ORRERY_CONVENIENCE_API void releaseClassAdaptor(const void* adaptor,
                                                const std::shared_ptr<COSClassInfoStruct>& record) noexcept;

}  // namespace orrery::convenience::detail
