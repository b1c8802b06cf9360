#pragma once

// The geo library on the host: the namespace geo with the abstract class geo.Shape, the
// class geo.Polygon and the namespace geo.util with the function geo.util.area.

#include "convenience/typed/namespace_builder.hpp"

namespace geo {

// Describes geo through the typed definition layer; publish() the result to hand it to
// the host. Every record it made is reachable through it until then.
orrery::convenience::typed::NamespaceBuilder defineGeo();

}  // namespace geo
