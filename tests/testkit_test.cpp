// The test kit itself: its scoped host names what outlived it, without GoogleTest's
// fixture, and its lookups and conversions say what they could not do.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "convenience/class_info_struct.hpp"
#include "convenience/typed/typed.hpp"
#include "orrery_testkit/gtest.hpp"
#include "orrery_testkit/testkit.hpp"
#include "support/counter.hpp"

using namespace orrery;
using namespace orrery::convenience::typed;
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

class Lookups : public kit::HostTest {};

TEST_F(Lookups, WhatCannotBeFoundOrConvertedIsAStandardError) {
    publishCounter();
    kit::Object counter = kit::construct("kit.Counter", 2.0);
    EXPECT_EQ(counter.as<Counter>().count, 2.0);
    EXPECT_EQ(kit::propertyType("kit.Counter", "count"), "double scalar");
    EXPECT_THROW_MESSAGE(kit::resolveClass("kit.Nothing"), std::invalid_argument, "no class kit.Nothing");
    EXPECT_THROW_MESSAGE(kit::signature("kit.Counter.nothing"), std::invalid_argument,
                         "nothing callable is named kit.Counter.nothing");
    EXPECT_THROW_MESSAGE(counter.call<std::string>("total"), std::invalid_argument,
                         "output 1 of total is a double scalar (2), not a string scalar or a character vector");
    EXPECT_THROW_MESSAGE(kit::Object::from(reference::makeDouble(1)), std::invalid_argument,
                         "a double scalar (1) is not an object");
    EXPECT_THROW_MESSAGE(kit::Object(reference::createObject(reference::defineClass("kit.Raw"))).as<Counter>(),
                         std::invalid_argument, "a kit.Raw object has no C++ object");
}

}  // namespace
