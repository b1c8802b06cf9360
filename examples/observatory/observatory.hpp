#pragma once

// The observatory namespace, described with the records alone (no typed layer), so that it
// shows what the records offer beyond it: a refused constructor, host metadata handed to a
// class directly, a constructor attached to the host class, an inner namespace joined by
// attach, functions with generated argument names and variable arguments, and copy and
// notification hooks over per-object data.
//
//   observatory.Telescope(name, aperture)        point, pointing, observe, resolution
//   observatory.Observation                      refused constructor; made by observe
//   observatory.Catalogue(name)                  add(self, ...), totalExposure
//   observatory.statistics()                     -> observations, copies, notifications
//   observatory.sky.separation(ra1, dec1, ra2, dec2), observatory.sky.airmass(altitude, ...)

#include <memory>

#include "convenience/namespace_info_struct.hpp"

namespace observatory {

// A new, unpublished description of the namespace; every call has its own statistics.
std::shared_ptr<orrery::convenience::COSNamespaceInfoStruct> defineObservatory();

}  // namespace observatory
