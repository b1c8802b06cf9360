// Plugins that go wrong, one per PLUGIN_KIND, for the inspector's error paths.
#include <stdexcept>

#include "convenience/convenience.hpp"
#include "convenience/plugin/entry_point.hpp"
#include "convenience/typed/errors.hpp"

using namespace orrery;
using namespace orrery::convenience;

#if PLUGIN_KIND == 1
// Publishes a class, then fails with a host error: the class must not be inspected.
ORRERY_DEFINE_PLUGIN() {
    createClass("early.Published")->publish();
    typed::raiseReadOnlyProperty("early.Published.x");
}

#elif PLUGIN_KIND == 2
ORRERY_DEFINE_PLUGIN() { throw std::runtime_error("the plugin's settings file is missing"); }

#elif PLUGIN_KIND == 3
// Loads cleanly; its hooks fail when the host pulls its content in or calls it.
ORRERY_DEFINE_PLUGIN() {
    auto broken = createClass("hooks.Broken");
    broken->populateClassFcn = [](COSClass*, const COSClient*) { throw std::runtime_error("cannot set up Broken"); };
    broken->publish();

    auto fine = createClass("hooks.Fine");
    fine->description = "Sets up, then fails when used";
    fine->detailedDescription = "Its default and its method throw.";
    auto size = createProperty("size");
    size->type = makeId("double");
    size->factoryDefaultFcn = []() -> COSValue { typed::raiseAbstractMember("hooks.Fine.size"); };
    fine->addProperty(size);
    auto run = createMethod("run");
    run->inputTypes = {makeId("double")};
    run->invokeFcn = [](const COSClient*, int&, COSValue*, int, const COSValue*) {
        throw std::out_of_range("run: nothing to run");
    };
    fine->addMethod(run);
    fine->publish();

    auto space = createNamespace("tools");
    space->populatePackageFcn = [](COSPackage*) { typed::raiseCppException("tools", "the package is corrupt"); };
    space->addFunction(createFunction("f"));
    space->publish();
}

#elif PLUGIN_KIND == 4
// Leaves a class record with a member behind: the two keep each other alive.
ORRERY_DEFINE_PLUGIN() {
    auto lost = createClass("leaky.Lost");
    lost->addProperty(createProperty("x"));
    createClass("leaky.Kept")->publish();
}

#elif PLUGIN_KIND == 5
// As a plugin built against another release would be stamped: what the macro writes, by
// hand, with other values.
extern "C" ORRERY_PLUGIN_EXPORT const orrery_build_stamp* orrery_plugin_build_stamp() noexcept {
    static constexpr orrery_build_stamp stamp{"0.0.7", "orrery_convenience-0.0/" ORRERY_DETAIL_STDLIB_ABI};
    return &stamp;
}
extern "C" ORRERY_PLUGIN_EXPORT void orrery_define_plugin() { createClass("foreign.Never")->publish(); }

#elif PLUGIN_KIND == 6
// Carries the library's stamp function itself, as a plugin that links the library
// statically does; otherwise a good plugin.
extern "C" const orrery_build_stamp* orrery_convenience_build_stamp() noexcept {
    static constexpr orrery_build_stamp stamp{ORRERY_CONVENIENCE_VERSION, ORRERY_CONVENIENCE_ABI_TAG};
    return &stamp;
}
ORRERY_DEFINE_PLUGIN() { createClass("copy.Own")->publish(); }

#elif PLUGIN_KIND == 7
// An entry point without the macro, so without a stamp.
extern "C" ORRERY_PLUGIN_EXPORT void orrery_define_plugin() { createClass("unstamped.Never")->publish(); }
#endif
