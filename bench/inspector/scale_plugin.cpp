// A plugin of many classes for timing the inspector: ORRERY_SCALE_CLASSES (10,000 if
// unset) classes of ten members each, the classes of the scale benchmark.
#include <cstdlib>

#include "convenience/plugin/entry_point.hpp"
#include "plugin/scale_classes.hpp"

ORRERY_DEFINE_PLUGIN() {
    const char* count = std::getenv("ORRERY_SCALE_CLASSES");
    const int classes = count ? std::atoi(count) : 10'000;
    for (int i = 0; i < classes; ++i) bench::describeAndPublishScaleClass(i);
}
