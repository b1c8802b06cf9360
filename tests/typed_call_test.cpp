// What the typed layer checks when the host calls a bound member, and how failures reach
// the host: as host errors that name the member and the argument.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "convenience/constructor_info_struct.hpp"
#include "convenience/typed/typed.hpp"
#include "orrery_testkit/testkit.hpp"
#include "support/counter.hpp"
#include "support/host_fixture.hpp"

using namespace orrery;
using namespace orrery::convenience::typed;
using orrery::testing::Counter;
namespace kit = orrery::testkit;

namespace {

struct Gadget {};

double fail(int kind) {
    if (kind == 0) throw std::runtime_error("broken");
    if (kind == 1) throw 42;
    throw convenience::ConstructorNotSupportedError(
        {{std::string("Thing")}, "LUMEN:orrery_convenience", "ConstructorNotSupported"});
}

class Calls : public orrery::testing::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        auto calc = defineNamespace("calc");
        calc.defineClass<Counter>("Counter")
            .constructor<double>({"start"})
            .method("add", &Counter::add, {"amount"})
            .property("count", &Counter::count)
            .property("broken", [](const Counter&) -> double { throw std::runtime_error("no"); });
        calc.defineClass<Gadget>("Other");
        calc.function("scaled", [](double x, std::optional<double> factor) { return x * factor.value_or(1); },
                      {"x", "factor"})
            .function("nothing", [] {})
            .function("fail", &fail, {"kind"})
            .function("make", [] { return Gadget(); });
        calc.publish();
        defineClass<Gadget>("loose.Gadget");  // rebound to a class the host does not have
    }
    void TearDown() override {
        HostTest::TearDown();
        EXPECT_EQ(Counter::alive, 0);
    }
};

TEST_F(Calls, InputAndOutputCountsAreChecked) {
    EXPECT_EQ(kit::invoke<double>("calc.scaled", 3.0), 3.0);  // a trailing optional left out
    EXPECT_EQ(kit::invoke<double>("calc.scaled", 3.0, 2.0), 6.0);
    EXPECT_HOST_ERROR(kit::invoke<double>("calc.scaled"), "LUMEN:orrery_typed:WrongInputCount",
                      "calc.scaled takes 1 to 2 inputs (x, factor), but was given 0.");
    EXPECT_HOST_ERROR(kit::invoke<double>("calc.scaled", 1.0, 2.0, 3.0), "LUMEN:orrery_typed:WrongInputCount",
                      "calc.scaled takes 1 to 2 inputs (x, factor), but was given 3.");
    EXPECT_HOST_ERROR(kit::invoke("calc.nothing", 1.0), "LUMEN:orrery_typed:WrongInputCount",
                      "calc.nothing takes no inputs, but was given 1.");
    EXPECT_HOST_ERROR(kit::invoke<double>("calc.nothing"), "LUMEN:orrery_typed:TooManyOutputs",
                      "calc.nothing gives no outputs, but 1 were asked for.");
    EXPECT_HOST_ERROR(kit::construct("calc.Counter", 1.0, 2.0), "LUMEN:orrery_typed:WrongInputCount",
                      "calc.Counter takes 1 input (start), but was given 2.");
    kit::invoke("calc.scaled", 1.0);  // no output asked for: none written
}

TEST_F(Calls, TheObjectInputMustBeAConstructedObjectOfTheClass) {
    const std::string prefix = "Input 1 (self) of calc.Counter.add must be a constructed calc.Counter object, not ";
    kit::Object counter = kit::construct("calc.Counter", 1.0);
    kit::Object other(reference::createObject(&kit::resolveClass("calc.Other")));
    kit::Object unconstructed(reference::createObject(&kit::resolveClass("calc.Counter")));
    EXPECT_HOST_ERROR(kit::invokeStatic("calc.Counter", "add", other, 1.0), "LUMEN:orrery_typed:BadInput",
                      prefix + "a calc.Other object.");
    EXPECT_HOST_ERROR(kit::invokeStatic("calc.Counter", "add", unconstructed, 1.0), "LUMEN:orrery_typed:BadInput",
                      prefix + "an unconstructed calc.Counter object.");
    EXPECT_HOST_ERROR(kit::invokeStatic("calc.Counter", "add", 5.0, 1.0), "LUMEN:orrery_typed:BadInput",
                      prefix + "a double scalar (5).");
    counter.deleteObject();
    EXPECT_HOST_ERROR(counter.call("add", 1.0), "LUMEN:orrery_typed:BadInput",
                      prefix + "a deleted calc.Counter object.");
    EXPECT_HOST_ERROR(unconstructed.get<double>("count"), "LUMEN:orrery_typed:InvalidObject",
                      "calc.Counter.count needs a constructed calc.Counter object, not an unconstructed calc.Counter "
                      "object.");
}

TEST_F(Calls, ExceptionsOfBoundCodeBecomeHostErrorsAndHostErrorsPassUnchanged) {
    EXPECT_HOST_ERROR(kit::invoke<double>("calc.fail", 0), "LUMEN:orrery_typed:CppException",
                      "calc.fail failed: broken");
    EXPECT_HOST_ERROR(kit::invoke<double>("calc.fail", 1), "LUMEN:orrery_typed:CppException",
                      "calc.fail failed: an exception that is not a std::exception");
    EXPECT_HOST_ERROR(kit::invoke<double>("calc.fail", 2), "LUMEN:orrery_convenience:ConstructorNotSupported",
                      "Objects of class 'Thing' cannot be constructed.");
    EXPECT_HOST_ERROR(kit::construct("calc.Counter", -1.0), "LUMEN:orrery_typed:CppException",
                      "calc.Counter failed: negative start");
    EXPECT_EQ(Counter::alive, 0);  // the host object made for it has gone too
    EXPECT_HOST_ERROR(kit::construct("calc.Counter", 1.0).get<double>("broken"), "LUMEN:orrery_typed:CppException",
                      "calc.Counter.broken failed: no");
    EXPECT_HOST_ERROR(kit::invoke<kit::Object>("calc.make"), "LUMEN:orrery_typed:ClassNotAvailable",
                      "calc.make cannot make an object of class loose.Gadget: the host has no such class.");
}

TEST_F(Calls, MistakesInADefinitionThrowWhenItIsMade) {
    auto space = defineNamespace("more");
    auto counter = space.defineClass<Counter>("Counter");
    EXPECT_THROW_MESSAGE(counter.method("add", &Counter::add, {"a", "b"}), std::invalid_argument,
                         "more.Counter.add: 2 input names given, 1 needed");
    EXPECT_THROW_MESSAGE(space.function("f", [] { return 1.0; }, {}, {"a", "b"}), std::invalid_argument,
                         "more.f: 2 output names given, 1 needed");
    struct Unbound {};
    EXPECT_THROW(space.function("g", [](const Unbound&) {}), std::logic_error);
    EXPECT_THROW_MESSAGE(counter.publish(), std::logic_error,
                         "more.Counter belongs to a namespace: publish the namespace instead");
    EXPECT_THROW_MESSAGE(space.defineNamespace("inner").publish(), std::logic_error,
                         "namespace more.inner is an inner namespace: publish its parent");
    EXPECT_THROW_MESSAGE(defineFunction("lonely", [] {}).publish(), std::invalid_argument,
                         "function lonely needs a namespace: name it \"ns.lonely\"");
}

// The host splits ids at their dots: a dotted member or inner name could never be found.
TEST_F(Calls, MemberAndInnerNamesAreSingleComponents) {
    auto space = defineNamespace("names");
    auto counter = space.defineClass<Counter>("Counter");
    const char* dotted = "it holds a '.', which the host reads as a path";
    EXPECT_THROW_MESSAGE(space.defineClass<Gadget>("Sub.Part"), std::invalid_argument,
                         std::string("defineClass: \"Sub.Part\" in namespace names is not a single name: ") + dotted);
    EXPECT_THROW_MESSAGE(space.function("util.more", [] { return 1.0; }), std::invalid_argument,
                         std::string("function: \"util.more\" in namespace names is not a single name: ") + dotted);
    EXPECT_THROW_MESSAGE(space.defineNamespace("a.b"), std::invalid_argument,
                         std::string("defineNamespace: \"a.b\" in namespace names is not a single name: ") + dotted);
    EXPECT_THROW_MESSAGE(counter.method("add.more", &Counter::add), std::invalid_argument,
                         std::string("method: \"add.more\" in class names.Counter is not a single name: ") + dotted);
    EXPECT_THROW_MESSAGE(counter.abstractMethod<double()>("total.sum"), std::invalid_argument,
                         std::string("method: \"total.sum\" in class names.Counter is not a single name: ") + dotted);
    EXPECT_THROW_MESSAGE(counter.property(".count", &Counter::count), std::invalid_argument,
                         std::string("property: \".count\" in class names.Counter is not a single name: ") + dotted);
    EXPECT_THROW_MESSAGE(space.function("", [] {}), std::invalid_argument,
                         "function: \"\" in namespace names is not a single name: it is empty");
    // Nothing was added.
    EXPECT_EQ(space.record()->classes.size(), 1u);
    EXPECT_TRUE(space.record()->functions.empty() && space.record()->innerNamespaces.empty());
    EXPECT_TRUE(counter.record()->methodRecords.empty() && counter.record()->propertyRecords.empty());
}

}  // namespace
