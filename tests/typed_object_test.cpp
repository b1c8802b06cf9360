// Bound objects: their C++ objects live and die with the host objects, bound arguments
// reach them (or copies), subclass objects stand in for their superclass, and every
// record the typed layer makes stays the client's to adjust.
#include <gtest/gtest.h>

#include <string>

#include "convenience/typed/typed.hpp"
#include "orrery_testkit/testkit.hpp"
#include "support/counter.hpp"
#include "support/host_fixture.hpp"

using namespace orrery;
using namespace orrery::convenience::typed;
using orrery::testing::Counter;
namespace kit = orrery::testkit;

namespace {

struct Doubler : Counter {
    using Counter::Counter;
    double total() const override { return 2 * count; }
};

class BoundObjects : public orrery::testing::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        auto space = defineNamespace("obj");
        auto counter = space.defineClass<Counter>("Counter")
                           .constructor<double>({"start"})
                           .property("count", &Counter::count)
                           .method("total", &Counter::total);
        space.defineClass<Doubler>("Doubler").superclass(counter).constructor<double>({"start"});
        space.function("bump", [](Counter& c) { c.add(1); })
            .function("bumpCopy",
                      [](Counter c) {
                          c.add(1);
                          return c.count;
                      })
            .function("bumpPointer", [](Counter* c) { c->add(1); })
            .function("clone", [](const Counter& c) { return c; })
            .function("total", [](const Counter& c) { return c.total(); })
            .function("doubled", [](const Doubler& d) { return d.total(); });
        space.publish();
    }
    void TearDown() override {
        HostTest::TearDown();
        EXPECT_EQ(Counter::alive, 0);
    }
};

TEST_F(BoundObjects, CppObjectsDieWithTheirHostObjects) {
    kit::Object kept = kit::construct("obj.Counter", 1.0);
    {
        kit::Object dropped = kit::construct("obj.Counter", 2.0);
        EXPECT_EQ(Counter::alive, 2);
    }
    EXPECT_EQ(Counter::alive, 1);
    kit::Object deleted = kit::construct("obj.Counter", 3.0);
    deleted.deleteObject();  // the handle stays, the C++ object goes now
    EXPECT_EQ(Counter::alive, 1);
    reference::shutdown();  // kept outlives its class: its C++ object goes with the class
    EXPECT_EQ(Counter::alive, 0);
}

TEST_F(BoundObjects, BoundArgumentsReachTheObjectOrACopy) {
    kit::Object counter = kit::construct("obj.Counter", 1.0);
    kit::invoke("obj.bump", counter);
    kit::invoke("obj.bumpPointer", counter);
    EXPECT_EQ(kit::invoke<double>("obj.bumpCopy", counter), 4.0);
    EXPECT_EQ(counter.get<double>("count"), 3.0);
    EXPECT_EQ(&counter.as<Counter>(), &counter.as<Counter>());

    kit::Object clone = kit::invoke<kit::Object>("obj.clone", counter);  // a new host object
    EXPECT_EQ(clone.className(), "obj.Counter");
    clone.set("count", 10.0);
    EXPECT_EQ(counter.get<double>("count"), 3.0);
    EXPECT_EQ(Counter::alive, 2);
}

TEST_F(BoundObjects, SubclassObjectsStandInForTheirBoundSuperclass) {
    kit::Object doubler = kit::construct("obj.Doubler", 4.0);
    EXPECT_EQ(kit::invoke<double>("obj.total", doubler), 8.0);  // as const Counter&, virtually
    EXPECT_EQ(kit::invoke<double>("obj.doubled", doubler), 8.0);
    EXPECT_EQ(kit::invokeStatic<double>("obj.Counter", "total", doubler), 8.0);  // Counter's method, on a Doubler
    EXPECT_HOST_ERROR(kit::invoke<double>("obj.doubled", kit::construct("obj.Counter", 1.0)),
                      "LUMEN:orrery_typed:BadInput",
                      "Input 1 (Input_1) of obj.doubled must be a constructed obj.Doubler object, not an obj.Counter "
                      "object.");
}

TEST_F(BoundObjects, EveryRecordStaysReachableAndAdjustable) {
    reference::shutdown();
    auto builder = defineClass<Counter>("pkg.Counter")
                       .constructor<double>({"start"})
                       .property("count", &Counter::count)
                       .method("add", &Counter::add, {"amount"});
    builder.record()->description = "counts";
    builder.propertyRecord("count")->description = "so far";
    builder.methodRecord("add")->inputNames[1] = "n";
    builder.constructorRecords().at(0)->description = "from a start";
    EXPECT_EQ(builder.methodRecord("missing"), nullptr);
    builder.publish();

    reference::ClassObject& cls = kit::resolveClass("pkg.Counter");
    EXPECT_STREQ(cls.info()->getDescription(), "counts");
    EXPECT_STREQ(cls.findProperty("count")->getDescription(), "so far");
    EXPECT_STREQ(cls.findConstructor()->getDescription(), "from a start");
    EXPECT_EQ(kit::signature("pkg.Counter.add"), "(pkg.Counter scalar self, double scalar n) -> ()");
    EXPECT_EQ(builder.record()->cosClass, &cls);
    kit::Object counter = kit::construct("pkg.Counter", 2.0);
    counter.call("add", 3.0);
    EXPECT_EQ(counter.get<double>("count"), 5.0);
}

}  // namespace
