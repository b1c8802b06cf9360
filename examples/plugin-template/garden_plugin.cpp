// The garden namespace as a class-definition plugin: loading it publishes garden,
// garden.Plant, garden.Tree and garden.plantsPerBed to the host.
#include "convenience/plugin/entry_point.hpp"
#include "garden_binding.hpp"

ORRERY_DEFINE_PLUGIN() { garden::defineGarden().publish(); }
