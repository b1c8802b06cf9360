// The test kit itself: its scoped host names what outlived it, without GoogleTest's
// fixture, and its lookups and conversions say what they could not do.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "convenience/class_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/namespace_function_info_struct.hpp"
#include "convenience/namespace_info_struct.hpp"
#include "convenience/typed/typed.hpp"
#include "convenience/values.hpp"
#include "orrery_testkit/gtest.hpp"
#include "orrery_testkit/testkit.hpp"
#include "support/counter.hpp"

using namespace orrery;
using namespace orrery::convenience::typed;
namespace values = orrery::convenience::values;
using orrery::testing::Counter;
namespace kit = orrery::testkit;

namespace {

void publishCounter() {
    defineClass<Counter>("kit.Counter")
        .constructor<double>({"start"})
        .property("count", &Counter::count)
        .method("total", &Counter::total)
        .publish();
}

TEST(TestKit, AScopedHostNamesWhatOutlivedIt) {
    {
        kit::ScopedHost host;
        publishCounter();
        kit::Object kept = kit::construct("kit.Counter", 1.0);
        auto orphan = convenience::createClass("kit.Orphan");
        const kit::LeakReport report = host.finish();
        EXPECT_FALSE(report.clean());
        EXPECT_EQ(report.text(), "host: 1 objects, object of class kit.Counter; records: class \"kit.Orphan\"");
        EXPECT_EQ(Counter::alive, 0);  // its data went back while its class still existed
    }
    kit::ScopedHost host;
    EXPECT_TRUE(host.finish().clean());
    EXPECT_EQ(kit::LeakReport().text(), "nothing alive");
}

TEST(TestKit, TheLeakReportNamesOnlyWhatLeaked) {
    {
        kit::ScopedHost host;
        publishCounter();
        kit::Object kept = kit::construct("kit.Counter", 1.0);
        const kit::LeakReport report = host.finish();
        EXPECT_FALSE(report.clean());
        EXPECT_TRUE(report.records.empty());
        EXPECT_EQ(report.text(), "host: 1 objects, object of class kit.Counter");
    }
    {
        kit::ScopedHost host;
        auto orphan = convenience::createClass("kit.Orphan");
        auto loose = convenience::createFunction("loose");
        const kit::LeakReport report = host.finish();
        EXPECT_FALSE(report.clean());
        EXPECT_TRUE(report.hostCounts == reference::LiveCounts{});
        EXPECT_EQ(report.text(), "records: class \"kit.Orphan\", function \"loose\"");
    }
    kit::ScopedHost host;
    EXPECT_TRUE(host.finish().clean());
}

class Lookups : public kit::HostTest {};

TEST_F(Lookups, WhatCannotBeFoundOrConvertedIsAStandardError) {
    publishCounter();
    kit::Object counter = kit::construct("kit.Counter", 2.0);
    EXPECT_EQ(counter.as<Counter>().count, 2.0);
    EXPECT_EQ(kit::propertyType("kit.Counter", "count"), "double scalar");
    EXPECT_THROW_MESSAGE(kit::resolveClass("kit.Nothing"), std::invalid_argument, "no class kit.Nothing");
    EXPECT_THROW_MESSAGE(kit::signature("kit.Counter.nothing"), std::invalid_argument,
                         "class kit.Counter has no method or property nothing");
    EXPECT_THROW_MESSAGE(counter.call<std::string>("total"), std::invalid_argument,
                         "output 1 of total is a double scalar (2), not a string scalar or a character vector");
    EXPECT_THROW_MESSAGE(kit::Object::from(values::makeDouble(1)), std::invalid_argument,
                         "a double scalar (1) is not an object");
    EXPECT_THROW_MESSAGE(kit::Object(reference::createObject(reference::defineClass("kit.Raw"))).as<Counter>(),
                         std::invalid_argument, "a kit.Raw object has no C++ object");
}

// Callables that fill fewer outputs than asked for, whether or not they lower the count.
TEST_F(Lookups, FewerOutputsThanAskedForAreAnErrorNotAnEmptyValue) {
    using namespace orrery::convenience;
    auto space = createNamespace("kit");
    auto writesOne = [](bool lowersCount) {
        return [lowersCount](const COSClient*, int& nOut, COSValue* out, int, const COSValue*) {
            out[0] = values::makeDouble(1);
            if (lowersCount) nOut = 1;
        };
    };
    auto quiet = createFunction("quiet");
    quiet->invokeFcn = writesOne(false);
    space->addFunction(quiet);
    auto honest = createFunction("honest");
    honest->invokeFcn = writesOne(true);
    space->addFunction(honest);
    auto nothing = createFunction("nothing");
    space->addFunction(nothing);  // the default invokeFcn writes nothing
    auto cls = createClass("Box");
    auto method = createMethod("empty");
    cls->addMethod(method);  // writes nothing either
    space->addClass(cls);
    space->publish();

    EXPECT_EQ(kit::invoke<double>("kit.quiet"), 1.0);
    EXPECT_THROW_MESSAGE((kit::invoke<double, double>("kit.quiet")), std::invalid_argument,
                         "kit.quiet gave 1 of 2 outputs");
    EXPECT_THROW_MESSAGE((kit::invoke<double, COSValue>("kit.honest")), std::invalid_argument,
                         "kit.honest gave 1 of 2 outputs");
    EXPECT_THROW_MESSAGE(kit::invoke<COSValue>("kit.nothing"), std::invalid_argument,
                         "kit.nothing gave 0 of 1 outputs");
    EXPECT_THROW_MESSAGE(kit::invokeStatic<COSValue>("kit.Box", "empty"), std::invalid_argument,
                         "kit.Box.empty gave 0 of 1 outputs");
    kit::invoke("kit.nothing");  // asking for none is fine
}

}  // namespace
