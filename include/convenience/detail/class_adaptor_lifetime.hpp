#pragma once

#include <memory>

#include "convenience/export.hpp"
#include "host/cos_class.hpp"
#include "host/interface_ptr.hpp"  // COSClient

namespace orrery::convenience {
struct COSClassInfoStruct;
}

namespace orrery::convenience::detail {

// The adaptor's populateClass: the record takes the host class as its cosClass (and the
// population is noted, so that the adaptor's end can tell whether that class is still
// the record's), then populateClassFcn runs.
ORRERY_CONVENIENCE_API void populateClassRecord(const void* adaptor, COSClassInfoStruct& record, COSClass* cosClass,
                                                const COSClient* client);

// Called as the host destroys a class adaptor. A record that this adaptor populated
// forgets the host class (the host frees it with the adaptor); a record that no adaptor
// ever populated, and whose members nobody else holds, lets go of its members, which
// would otherwise keep it alive through their classHolder for ever.
ORRERY_CONVENIENCE_API void releaseClassAdaptor(const void* adaptor,
                                                const std::shared_ptr<COSClassInfoStruct>& record) noexcept;

}  // namespace orrery::convenience::detail
