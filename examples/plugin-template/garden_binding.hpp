#pragma once

// The garden library on the host: the namespace garden with the classes garden.Plant and
// garden.Tree (a Plant) and the function garden.plantsPerBed.

#include "convenience/typed/namespace_builder.hpp"

namespace garden {

// Describes garden through the typed layer; publish() the result to hand it to the host.
orrery::convenience::typed::NamespaceBuilder defineGarden();

}  // namespace garden
