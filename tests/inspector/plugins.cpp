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
#endif
