// The observatory namespace as a class-definition plugin: loading it publishes observatory,
// with its classes Telescope, Observation and Catalogue, the function statistics and the
// inner namespace sky, to the host.
#include "convenience/plugin/entry_point.hpp"
#include "observatory.hpp"

ORRERY_DEFINE_PLUGIN() { observatory::defineObservatory()->publish(); }
