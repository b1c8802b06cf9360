// How the reference host finds members through superclasses: own members first, then the
// superclasses' in declaration order, depth-first, each class once; overriding, abstract
// methods and ambiguity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convenience/values.hpp"
#include "host/assumed_operations.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/host_metadata.hpp"

namespace {

using namespace orrery;
namespace values = orrery::convenience::values;
using orrery::testing::ScriptedMethodInfo;
using orrery::testing::ScriptedPropInfo;

class Inheritance : public orrery::testing::HostTest {
protected:
    void TearDown() override {
        objects.clear();  // instances go before their classes
        HostTest::TearDown();
    }

    reference::ClassObject& define(const std::string& id, const std::vector<std::string>& supers = {}) {
        reference::ClassObject* cls = reference::defineClass(id);
        for (const auto& super : supers) cls->addSuperclass(makeId(super), false, 0, false);
        return *cls;
    }

    // A method answering its owner's name, so that a call shows which one ran.
    ScriptedMethodInfo* method(reference::ClassObject& cls, const std::string& name) {
        auto* info = new ScriptedMethodInfo(name);
        const std::string owner = cls.getClassID().str();
        info->call = [owner](const COSClient*, int& count, COSValue* out, int, const COSValue*) {
            if (count > 0) out[0] = values::makeChars(owner);
            count = count > 0 ? 1 : 0;
        };
        cls.addMethodInfo(info);
        return info;
    }

    void property(reference::ClassObject& cls, const std::string& name) {
        auto* info = new ScriptedPropInfo(name);
        const std::string owner = cls.getClassID().str();
        info->get = [owner](COSInterface*) { return values::makeChars(owner); };
        cls.addPropertyInfo(info);
    }

    COSInterfacePtr object(reference::ClassObject& cls) { return objects.emplace_back(reference::createObject(&cls)); }

    std::string call(const COSInterfacePtr& target, const std::string& name) {
        return values::displayValue(reference::invokeMethod(target, name, {}, 1).at(0));
    }
    std::string get(const COSInterfacePtr& target, const std::string& name) {
        return values::displayValue(reference::getProperty(target, name));
    }

    static std::vector<std::string> ids(const std::vector<reference::ClassObject*>& classes) {
        std::vector<std::string> out;
        for (auto* cls : classes) out.push_back(cls->getClassID().str());
        return out;
    }

    std::vector<COSInterfacePtr> objects;
};

TEST_F(Inheritance, MembersOfSuperclassesAnswerOnSubclassObjectsAtAnyDepth) {
    auto& base = define("pkg.Base");
    method(base, "describe");
    property(base, "label");
    auto& middle = define("pkg.Middle", {"pkg.Base"});
    auto& leaf = define("pkg.Leaf", {"pkg.Middle"});

    for (auto* cls : {&middle, &leaf}) {
        auto target = object(*cls);
        EXPECT_EQ(call(target, "describe"), "'pkg.Base'");
        EXPECT_EQ(get(target, "label"), "'pkg.Base'");
    }
    const auto found = reference::resolveMethod(leaf, "describe");
    EXPECT_EQ(found.owner, &base);
    EXPECT_EQ(reference::resolveProperty(leaf, "missing").info, nullptr);
    EXPECT_THROW_MESSAGE(call(object(leaf), "missing"), std::invalid_argument, "class pkg.Leaf has no method missing");
}

TEST_F(Inheritance, AMemberOfASubclassOverridesTheSuperclassesOnes) {
    auto& base = define("pkg.Base");
    method(base, "describe");
    property(base, "label");
    auto& derived = define("pkg.Derived", {"pkg.Base"});
    method(derived, "describe");
    property(derived, "label");
    auto& leaf = define("pkg.Leaf", {"pkg.Derived"});

    EXPECT_EQ(call(object(derived), "describe"), "'pkg.Derived'");
    EXPECT_EQ(get(object(leaf), "label"), "'pkg.Derived'");
    // Still the base's own on an object of the base.
    EXPECT_EQ(call(object(base), "describe"), "'pkg.Base'");
}

TEST_F(Inheritance, LookupsFollowMembersAndSuperclassesAddedAfterEarlierLookups) {
    auto& base = define("pkg.Base");
    method(base, "describe");
    auto& middle = define("pkg.Middle", {"pkg.Base"});
    auto& leaf = define("pkg.Leaf", {"pkg.Middle"});
    auto target = object(leaf);
    EXPECT_EQ(call(target, "describe"), "'pkg.Base'");
    EXPECT_EQ(call(target, "describe"), "'pkg.Base'");  // remembered: the same answer

    method(middle, "describe");
    EXPECT_EQ(call(target, "describe"), "'pkg.Middle'");
    // A superclass the host did not know when first asked, and then does.
    leaf.addSuperclass(makeId("pkg.Later"), false, 0, false);
    EXPECT_EQ(call(target, "describe"), "'pkg.Middle'");
    method(define("pkg.Later"), "describe");
    EXPECT_HOST_ERROR(call(target, "describe"), "orrery:class:AmbiguousMember",
                      "'describe' is ambiguous in class 'pkg.Leaf': it comes from 'pkg.Middle' and 'pkg.Later'. Define "
                      "'describe' in 'pkg.Leaf' to choose.");
}

TEST_F(Inheritance, SuperclassesAreVisitedInDeclarationOrderDepthFirstEachOnce) {
    // A diamond: Root reached through Left and through Right, visited once, after Left.
    auto& root = define("pkg.Root");
    define("pkg.Left", {"pkg.Root"});
    define("pkg.Right", {"pkg.Root"});
    auto& leaf = define("pkg.Leaf", {"pkg.Left", "pkg.Right", "pkg.Unknown"});
    EXPECT_EQ(ids(reference::superclassOrder(leaf)), (std::vector<std::string>{"pkg.Left", "pkg.Root", "pkg.Right"}));

    // One member reached by two paths is one member, not an ambiguity.
    method(root, "describe");
    EXPECT_EQ(call(object(leaf), "describe"), "'pkg.Root'");
}

TEST_F(Inheritance, AnOverrideOnOnePathOfADiamondWins) {
    auto& root = define("pkg.Root");
    method(root, "describe");
    define("pkg.Left", {"pkg.Root"});
    auto& right = define("pkg.Right", {"pkg.Root"});
    method(right, "describe");
    auto& leaf = define("pkg.Leaf", {"pkg.Left", "pkg.Right"});
    // Root comes first in the walk, but Right overrides it.
    EXPECT_EQ(call(object(leaf), "describe"), "'pkg.Right'");
}

TEST_F(Inheritance, ANameFromTwoUnrelatedSuperclassesIsAmbiguous) {
    auto& left = define("pkg.Left");
    method(left, "describe");
    property(left, "label");
    auto& right = define("pkg.Right");
    method(right, "describe");
    property(right, "label");
    auto& leaf = define("pkg.Leaf", {"pkg.Left", "pkg.Right"});
    auto target = object(leaf);

    EXPECT_HOST_ERROR(call(target, "describe"), "orrery:class:AmbiguousMember",
                      "'describe' is ambiguous in class 'pkg.Leaf': it comes from 'pkg.Left' and 'pkg.Right'. Define "
                      "'describe' in 'pkg.Leaf' to choose.");
    EXPECT_HOST_ERROR(get(target, "label"), "orrery:class:AmbiguousMember",
                      "'label' is ambiguous in class 'pkg.Leaf': it comes from 'pkg.Left' and 'pkg.Right'. Define "
                      "'label' in 'pkg.Leaf' to choose.");
    EXPECT_HOST_ERROR(reference::setProperty(target, "label", values::makeDouble(1)), "orrery:class:AmbiguousMember",
                      "'label' is ambiguous in class 'pkg.Leaf': it comes from 'pkg.Left' and 'pkg.Right'. Define "
                      "'label' in 'pkg.Leaf' to choose.");

    // The subclass settles it by defining the name itself.
    method(leaf, "describe");
    EXPECT_EQ(call(target, "describe"), "'pkg.Leaf'");
}

TEST_F(Inheritance, AnAbstractMethodIsDispatchedToTheImplementationOfTheObjectsClass) {
    auto& shape = define("pkg.Shape");
    method(shape, "area")->isAbstract = true;
    auto& square = define("pkg.Square", {"pkg.Shape"});
    method(square, "area");
    EXPECT_EQ(call(object(square), "area"), "'pkg.Square'");

    // An implementation from another superclass satisfies the abstract declaration.
    auto& measured = define("pkg.Measured");
    method(measured, "area");
    auto& tile = define("pkg.Tile", {"pkg.Shape", "pkg.Measured"});
    EXPECT_EQ(call(object(tile), "area"), "'pkg.Measured'");

    // Nothing implements it: the abstract declaration itself is what the call reaches.
    auto& blank = define("pkg.Blank", {"pkg.Shape"});
    const auto found = reference::resolveMethod(blank, "area");
    ASSERT_NE(found.info, nullptr);
    EXPECT_TRUE(omIsAbstractMethod(*found.info));
}

TEST_F(Inheritance, AStaticMethodIsCalledWithoutTheObject) {
    auto& base = define("pkg.Base");
    auto* make = method(base, "make");
    make->isStatic = true;
    int inputs = -1;
    make->call = [&](const COSClient*, int& count, COSValue*, int inputCount, const COSValue*) {
        inputs = inputCount;
        count = 0;
    };
    auto& derived = define("pkg.Derived", {"pkg.Base"});
    reference::invokeMethod(object(derived), "make", {values::makeDouble(1)}, 0);
    EXPECT_EQ(inputs, 1);
}

TEST_F(Inheritance, ConstructorsAreNotInheritedAndCyclesEnd) {
    auto& base = define("pkg.Base");
    method(base, "Base");  // its constructor
    method(base, "describe");
    auto& derived = define("pkg.Derived", {"pkg.Base", "pkg.Derived"});
    base.addSuperclass(makeId("pkg.Derived"), false, 0, false);  // a cycle back

    EXPECT_EQ(reference::resolveMethod(derived, "Base").info, nullptr);
    EXPECT_THROW_MESSAGE(reference::construct(makeId("pkg.Derived"), {}), std::invalid_argument,
                         "class pkg.Derived has no constructor");
    EXPECT_EQ(ids(reference::superclassOrder(derived)), std::vector<std::string>{"pkg.Base"});
    const auto inherited = reference::inheritedMembers(derived);
    ASSERT_EQ(inherited.methods.size(), 1u);
    EXPECT_STREQ(inherited.methods[0].info->getName(), "describe");
    EXPECT_EQ(inherited.methods[0].owner, &base);
}

TEST_F(Inheritance, InheritedMembersListEachNameOnceWithItsOwnerOrItsAmbiguity) {
    auto& left = define("pkg.Left");
    property(left, "label");
    property(left, "width");
    method(left, "draw");
    auto& right = define("pkg.Right");
    property(right, "label");
    method(right, "draw");
    method(right, "size");
    auto& leaf = define("pkg.Leaf", {"pkg.Left", "pkg.Right"});
    property(leaf, "width");

    const auto inherited = reference::inheritedMembers(leaf);
    ASSERT_EQ(inherited.properties.size(), 0u);  // width is the leaf's own, label ambiguous
    ASSERT_EQ(inherited.methods.size(), 1u);
    EXPECT_STREQ(inherited.methods[0].info->getName(), "size");
    EXPECT_EQ(inherited.methods[0].owner, &right);
    ASSERT_EQ(inherited.ambiguousProperties.size(), 1u);
    EXPECT_EQ(inherited.ambiguousProperties[0].name, "label");
    EXPECT_EQ(inherited.ambiguousProperties[0].owners, (std::vector<std::string>{"pkg.Left", "pkg.Right"}));
    ASSERT_EQ(inherited.ambiguousMethods.size(), 1u);
    EXPECT_EQ(inherited.ambiguousMethods[0].name, "draw");
}

TEST_F(Inheritance, AChainOfThousandsOfLevelsIsSettledInOneWalk) {
    // Every level overrides `describe` and adds one method of its own: each name is settled
    // in one walk up the chain (a walk per pair of declarations took hours at this depth),
    // and the walk does not recurse once per level.
    constexpr int depth = 4000;
    auto level = [](int i) { return "deep.C" + std::to_string(i); };
    reference::ClassObject* leaf = nullptr;
    for (int i = 0; i < depth; ++i) {
        leaf = &define(level(i), i == 0 ? std::vector<std::string>{} : std::vector<std::string>{level(i - 1)});
        method(*leaf, "describe");
        method(*leaf, "level" + std::to_string(i));
    }

    const auto order = reference::superclassOrder(*leaf);
    ASSERT_EQ(order.size(), static_cast<std::size_t>(depth - 1));
    EXPECT_EQ(order.front()->getClassID().str(), level(depth - 2));
    EXPECT_EQ(order.back()->getClassID().str(), level(0));

    const auto inherited = reference::inheritedMembers(*leaf);
    EXPECT_TRUE(inherited.ambiguousMethods.empty());
    ASSERT_EQ(inherited.methods.size(), static_cast<std::size_t>(depth - 1));  // describe is the leaf's own
    EXPECT_EQ(inherited.methods.front().owner->getClassID().str(), level(depth - 2));
    EXPECT_EQ(inherited.methods.back().owner->getClassID().str(), level(0));

    auto& middle = *order[depth / 2];
    EXPECT_EQ(reference::resolveMethod(middle, "describe").owner, &middle);
    EXPECT_EQ(reference::resolveMethod(middle, "level0").owner, order.back());

    const auto target = object(*leaf);
    EXPECT_EQ(call(target, "level0"), "'" + level(0) + "'");
    EXPECT_EQ(call(target, "describe"), "'" + level(depth - 1) + "'");
}

}  // namespace
