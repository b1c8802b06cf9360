// The geo namespace as a class-definition plugin: loading it publishes geo, geo.Shape,
// geo.Polygon and geo.util.area to the host.
#include "convenience/plugin/entry_point.hpp"
#include "geo_binding.hpp"

ORRERY_DEFINE_PLUGIN() { geo::defineGeo().publish(); }
