#include "snr_property.hpp"

#include <stdexcept>

#include "astronomy.hpp"
#include "convenience/values.hpp"
#include "state.hpp"

namespace observatory {

using namespace orrery;

const char* SignalToNoiseProperty::getName() { return "snr"; }

const char* SignalToNoiseProperty::getDescription() {
    return "photon-noise signal-to-noise ratio of a unit-brightness source";
}

COSDataTypePtr SignalToNoiseProperty::getDataType() { return COSDataTypePtr(makeId("double scalar")); }

// Computed from the exposure and the aperture: nobody may set it.
COSAccessLevel SignalToNoiseProperty::getSetAccess() { return COSAccessPrivate; }

COSValue SignalToNoiseProperty::getValue(COSInterface* object) {
    const auto& observation = stateOf<ObservationState>(object, kObservation, "the object of snr");
    return convenience::values::makeDouble(signalToNoise(observation.aperture, observation.exposure));
}

// The host checks the set access first; these guard the hosts that do not.
void SignalToNoiseProperty::setValue(COSInterface*, COSValue) {
    throw std::logic_error("observatory.Observation.snr is read-only");
}

void SignalToNoiseProperty::setValueAlternate(COSInterface*, COSValue) {
    throw std::logic_error("observatory.Observation.snr is read-only");
}

}  // namespace observatory
