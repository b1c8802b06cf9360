// What the host's users do with classes and objects: construct, read and write
// properties, call methods. The helpers must hand the metadata exactly what the host
// would, or tests that go through them prove nothing about the library.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "convenience/method_info_struct.hpp"
#include "convenience/values.hpp"
#include "host/cos_class.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/host_metadata.hpp"

namespace {

using namespace orrery;
namespace values = orrery::convenience::values;
using orrery::testing::ScriptedClassInfo;
using orrery::testing::ScriptedMethodInfo;
using orrery::testing::ScriptedPropInfo;

class Calls : public orrery::testing::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        cls = reference::defineClass("pkg.Point");
        object = reference::createObject(cls);
    }
    void TearDown() override {
        object.reset();  // instances go before their classes
        HostTest::TearDown();
    }

    template <class Info>
    Info* add(Info* info) {
        if constexpr (std::is_base_of_v<COSPropInfo, Info>)
            cls->addPropertyInfo(info);
        else
            cls->addMethodInfo(info);
        return info;
    }

    reference::ClassObject* cls = nullptr;
    COSInterfacePtr object;
};

TEST_F(Calls, InvokeMethodPassesTheObjectFirstAndReturnsWhatTheMethodReports) {
    add(new ScriptedMethodInfo("other"));
    auto* method = add(new ScriptedMethodInfo("split"));
    int asked = -1;
    int reported = 0;
    std::vector<std::string> inputs;
    method->call = [&](const COSClient* client, int& count, COSValue* out, int inputCount, const COSValue* in) {
        EXPECT_EQ(client, reference::client());
        asked = count;
        ASSERT_GE(inputCount, 1);
        EXPECT_EQ(values::readObject(in[0]), object);
        inputs.clear();
        for (int i = 1; i < inputCount; ++i) inputs.push_back(values::displayValue(in[i]));
        for (int i = 0; i < count; ++i) out[i] = values::makeDouble(i + 1);
        count = reported;
    };

    reported = 2;
    auto outputs = reference::invokeMethod(object, "split", {values::makeDouble(5), values::makeChars("a")}, 3);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(inputs, (std::vector<std::string>{"5", "'a'"}));
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(values::displayValue(outputs[1]), "2");

    // A method that reports more than it was given room for yields only that room.
    struct Case {
        int asked, reported;
        std::size_t returned;
    };
    for (const Case c : {Case{1, 5, 1}, Case{2, 0, 0}, Case{0, 0, 0}}) {
        reported = c.reported;
        EXPECT_EQ(reference::invokeMethod(object, "split", {}, c.asked).size(), c.returned) << c.asked;
        EXPECT_TRUE(inputs.empty());
    }

    EXPECT_THROW_MESSAGE(reference::invokeMethod(object, "join", {}, 1), std::invalid_argument,
                         "class pkg.Point has no method join");
    EXPECT_THROW_MESSAGE(reference::invokeMethod(object, "split", {}, -1), std::invalid_argument,
                         "pkg.Point.split: the output count must not be negative");
}

TEST_F(Calls, PropertiesAreReadAndWrittenThroughTheirOwnMetadata) {
    std::vector<std::pair<std::string, COSValue>> stored;
    for (const std::string name : {"x", "y"}) {
        auto* property = add(new ScriptedPropInfo(name));
        property->set = [&, name](COSInterface* o, COSValue v) {
            EXPECT_EQ(o, object.get());
            stored.emplace_back(name, std::move(v));
        };
        property->get = [&, name](COSInterface* o) { return o == object.get() ? values::makeChars(name) : COSValue(); };
    }
    reference::setProperty(object, "y", values::makeDouble(7));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, "y");
    EXPECT_EQ(values::displayValue(stored[0].second), "7");
    EXPECT_EQ(values::displayValue(reference::getProperty(object, "y")), "'y'");

    EXPECT_THROW_MESSAGE(reference::getProperty(object, "z"), std::invalid_argument,
                         "class pkg.Point has no property z");
    EXPECT_THROW_MESSAGE(reference::setProperty(object, "z", COSValue()), std::invalid_argument,
                         "class pkg.Point has no property z");
    // A data type is a host object but no instance.
    const COSInterfacePtr type = COSTypeRepository::getType(makeId("double"));
    EXPECT_THROW_MESSAGE(reference::getProperty(type, "x"), std::invalid_argument,
                         "not an object of the reference host");
    EXPECT_THROW_MESSAGE(reference::getProperty(COSInterfacePtr(), "x"), std::invalid_argument,
                         "not an object of the reference host");
}

TEST_F(Calls, ConstructRunsTheMethodNamedAfterTheClassAndReturnsItsFirstOutput) {
    auto* info = new ScriptedClassInfo("pkg.Shape");
    COSClass::addClass(info);
    std::vector<std::string> inputs;
    info->populate = [&](COSClass* shape, const COSClient*) {
        shape->addMethodInfo(new ScriptedMethodInfo("area"));
        auto* constructor = new ScriptedMethodInfo("pkg.Shape");
        constructor->call = [&, shape](const COSClient*, int& count, COSValue* out, int n, const COSValue* in) {
            EXPECT_EQ(count, 1);
            for (int i = 0; i < n; ++i) inputs.push_back(values::displayValue(in[i]));
            out[0] = values::makeObject(reference::createObject(static_cast<reference::ClassObject*>(shape)));
        };
        shape->addMethodInfo(constructor);
    };
    // The class is populated on this first request.
    EXPECT_EQ(values::displayValue(reference::construct(makeId("pkg.Shape"), {values::makeDouble(3)})),
              "<pkg.Shape object>");
    EXPECT_EQ(inputs, std::vector<std::string>{"3"});
    EXPECT_EQ(info->populations, 1);

    EXPECT_THROW_MESSAGE(reference::construct(makeId("pkg.Missing"), {}), std::invalid_argument,
                         "no class pkg.Missing");
    EXPECT_THROW_MESSAGE(reference::construct(makeId("pkg.Point"), {}), std::invalid_argument,
                         "class pkg.Point has no constructor");
}

// One resolver for the test kit and the inspector: what each form of name denotes.
TEST_F(Calls, ResolveTellsWhatANameDenotes) {
    add(new ScriptedMethodInfo("m"));
    add(new ScriptedPropInfo("x"));
    const std::vector<COSInterfacePtr> handles{object};

    const reference::Target method = reference::resolve("pkg.Point.m");
    EXPECT_EQ(method.kind, reference::Target::Kind::method);
    EXPECT_STREQ(method.callable->getName(), "m");
    EXPECT_FALSE(method.object);
    EXPECT_EQ(method.name, "pkg.Point.m");
    EXPECT_EQ(reference::resolve("pkg.Point.x").kind, reference::Target::Kind::property);
    const reference::Target bound = reference::resolve("@1.x", handles);
    EXPECT_EQ(bound.kind, reference::Target::Kind::property);
    EXPECT_EQ(bound.object.get(), object.get());
    EXPECT_EQ(reference::resolve(object, "m").object.get(), object.get());

    EXPECT_THROW_MESSAGE(reference::resolve(""), std::invalid_argument, "an empty name denotes nothing");
    EXPECT_THROW_MESSAGE(reference::resolve("pkg.Nope"), std::invalid_argument,
                         "no class, method or function is named pkg.Nope");
    EXPECT_THROW_MESSAGE(reference::resolve("pkg.Point"), std::invalid_argument, "class pkg.Point has no constructor");
    EXPECT_THROW_MESSAGE(reference::resolve("pkg.Point.zz"), std::invalid_argument,
                         "class pkg.Point has no method or property zz");
    EXPECT_THROW_MESSAGE(reference::resolve("@1.zz", handles), std::invalid_argument,
                         "@1 (pkg.Point) has no method or property zz");
    EXPECT_THROW_MESSAGE(reference::resolve("@2.m", handles), std::invalid_argument,
                         "@2 names no object: 1 object returned so far");
    EXPECT_THROW_MESSAGE(reference::resolve("@x.m", handles), std::invalid_argument,
                         "@x names no object: 1 object returned so far");
    EXPECT_THROW_MESSAGE(reference::resolve("@1", handles), std::invalid_argument,
                         "@1 is an object, not something to call");
}

TEST_F(Calls, CallHandsRoomForEveryDeclaredInputButCountsOnlyThoseGiven) {
    auto method = convenience::createMethod("move");
    method->inputTypes = {makeId("pkg.Point scalar"), makeId("double"), makeId("double")};
    int counted = -1;
    std::vector<bool> empty;
    method->invokeFcn = [&](const COSClient*, int&, COSValue*, int inputCount, const COSValue* inputs) {
        counted = inputCount;
        empty.clear();
        for (int i = 0; i < 3; ++i) empty.push_back(inputs[i].isEmpty());  // past the count: no value, in room
    };
    method->attach(cls);
    const std::vector<COSInterfacePtr> handles{object};

    EXPECT_TRUE(reference::call(reference::resolve("@1.move", handles), {values::makeDouble(1)}, 0).empty());
    EXPECT_EQ(counted, 2);
    EXPECT_EQ(empty, (std::vector<bool>{false, false, true}));
    // Named through its class, the object is an input like any other.
    reference::call(reference::resolve("pkg.Point.move"), {}, 0);
    EXPECT_EQ(counted, 0);
    EXPECT_EQ(empty, (std::vector<bool>{true, true, true}));
}

TEST_F(Calls, APropertyIsReadWithNoValueAndWrittenWithOne) {
    auto* property = add(new ScriptedPropInfo("x"));
    std::vector<std::string> set;
    property->set = [&](COSInterface* o, COSValue v) {
        EXPECT_EQ(o, object.get());
        set.push_back(values::displayValue(v));
    };
    property->get = [&](COSInterface* o) { return values::makeDouble(o == object.get() ? 4 : -1); };
    const reference::Target bound = reference::resolve(object, "x");
    EXPECT_EQ(values::displayValue(reference::call(bound, {}, 1).at(0)), "4");
    reference::call(bound, {values::makeDouble(5)}, 0);
    // Named through the class, the object comes first.
    const reference::Target named = reference::resolve("pkg.Point.x");
    EXPECT_EQ(values::displayValue(reference::call(named, {values::makeObject(object)}, 1).at(0)), "4");
    reference::call(named, {values::makeObject(object), values::makeDouble(6)}, 0);
    EXPECT_EQ(set, (std::vector<std::string>{"5", "6"}));

    EXPECT_THROW_MESSAGE(reference::call(bound, {values::makeDouble(1), values::makeDouble(2)}, 0),
                         std::invalid_argument, "property pkg.Point.x takes 1 value to set, 2 given");
    EXPECT_THROW_MESSAGE(reference::call(bound, {values::makeDouble(1)}, 1), std::invalid_argument,
                         "setting property pkg.Point.x gives no outputs, 1 asked");
    EXPECT_THROW_MESSAGE(reference::call(bound, {}, 2), std::invalid_argument,
                         "property pkg.Point.x gives 1 output, 2 asked");
    EXPECT_THROW_MESSAGE(reference::call(named, {values::makeDouble(1)}, 1), std::invalid_argument,
                         "pkg.Point.x needs an object as input 1");
    EXPECT_EQ(set.size(), 2u);
}

}  // namespace
