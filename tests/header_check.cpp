// Instantiates the public class templates in full, so that the header check sees their
// member bodies too, not only their declarations.
#include <memory>

#include "convenience/configurable_class_info.hpp"
#include "host/enumeration.hpp"
#include "host/reference/counters.hpp"

template class orrery::Enumeration<orrery::COSInterface*>;
template class orrery::Enumeration<hxArray*>;
template class orrery::convenience::ConfigurableCOSClassInfo<std::shared_ptr<orrery::convenience::COSClassInfoStruct>>;
template struct orrery::reference::LiveCountsOf<long>;
