// What crosses between the modules: the test program, the library and the host are each
// a shared library or executable of their own (on Windows each with its own C++ runtime).
// Errors keep their type through the other modules' frames, and the adaptors the library
// makes live on the host's heaps and go back through them.
#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <memory>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/host_metadata.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using ModuleBoundaryTest = orrery::testing::HostTest;

// Not a standard exception: only its own type catches it.
struct HookFailure {
    int code;
};

TEST_F(ModuleBoundaryTest, ErrorsKeepTheirTypeThroughTheOtherModulesFrames) {
    // Thrown by the library under the host's call helper.
    auto widget = createClass("pkg.Widget");
    widget->addConstructor(createUnsupportedConstructor("pkg.Widget"));
    widget->publish();
    EXPECT_THROW(reference::construct(makeId("pkg.Widget"), {}), ConstructorNotSupportedError);
    EXPECT_HOST_ERROR(reference::construct(makeId("pkg.Widget"), {}),
                      "LUMEN:orrery_convenience:ConstructorNotSupported",
                      "Objects of class 'pkg.Widget' cannot be constructed.");

    // The standard library's, raised in the library under the host's call helper.
    auto ns = createNamespace("pkg");
    auto emptied = createFunction("emptied");
    emptied->invokeFcn = nullptr;
    ns->addFunction(emptied);
    ns->publish();
    EXPECT_THROW(reference::invokeFunction("pkg.emptied", {}, 0), std::bad_function_call);
    COSClassInfoStruct unowned;
    EXPECT_THROW(unowned.publish(), std::bad_weak_ptr);

    // The test's own, from a hook the library runs for the host, which catches it to roll
    // the population back and throws it on.
    auto flaky = createClass("pkg.Flaky");
    flaky->populateClassFcn = [](COSClass*, const COSClient*) { throw HookFailure{42}; };
    flaky->publish();
    try {
        COSClass::getClass(makeId("pkg.Flaky"));
        ADD_FAILURE() << "the hook's error was lost";
    } catch (const HookFailure& failure) {
        EXPECT_EQ(failure.code, 42);
    }
}

TEST_F(ModuleBoundaryTest, AdaptorsLiveOnTheHostsHeapsAndGoBackThroughThem) {
    auto ns = createNamespace("pkg");
    auto point = createClass("Point");
    point->addProperty(createProperty("x"));
    point->addMethod(createMethod("norm"));
    point->addConstructor(createConstructor());
    // Host metadata made by this module goes to the host's heap as well.
    point->addMethod(new orrery::testing::ScriptedMethodInfo("handMade"));
    ns->addClass(point);
    ns->addFunction(createFunction("f"));
    ns->publish();
    ASSERT_NE(reference::findPackageClass("pkg.Point"), nullptr);
    ASSERT_NE(reference::findFunction("pkg.f"), nullptr);

    const reference::LiveCounts counts = reference::liveCounts();
    EXPECT_EQ(counts.namespaceInfos, 1);
    EXPECT_EQ(counts.classInfos, 1);
    EXPECT_EQ(counts.methodInfos, 4);  // norm, the constructor, handMade and f
    EXPECT_EQ(counts.propInfos, 1);  // property adaptors use the global heap, counted as they are made
    // TearDown shuts the host down and sees each heap empty again.
}

}  // namespace
