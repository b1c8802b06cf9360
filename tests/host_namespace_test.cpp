// The reference host's namespace tree: packages made lazily, one level at a time, from
// namespaces defined through the library.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "convenience/diagnostics/contract.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using HostNamespaceTest = orrery::testing::HostTest;

// outer (class Shape, function area) containing inner (class Point with a constructor,
// function f); each population counted.
struct Tree {
    int outerPopulations = 0;
    int innerPopulations = 0;
    std::shared_ptr<COSClassInfoStruct> point = createClass("Point");

    Tree() {
        auto outer = createNamespace("outer");
        outer->populatePackageFcn = [this](COSPackage*) { ++outerPopulations; };
        outer->addClass(createClass("Shape"));
        outer->addFunction(createFunction("area"));
        auto inner = createNamespace("inner");
        inner->populatePackageFcn = [this](COSPackage*) { ++innerPopulations; };
        auto constructor = createConstructor();
        constructor->invokeFcn = [](const COSClient*, int& count, COSValue* out, int, const COSValue*) {
            out[0] = values::makeObject(reference::createObject(reference::findClass("outer.inner.Point")));
            count = 1;
        };
        point->addConstructor(constructor);
        inner->addClass(point);
        auto f = createFunction("f");
        f->invokeFcn = [](const COSClient*, int& count, COSValue* out, int in, const COSValue*) {
            out[0] = values::makeDouble(in);
            count = 1;
        };
        inner->addFunction(f);
        outer->addInnerNamespace(inner);
        outer->publish();
    }
};

TEST_F(HostNamespaceTest, PackagesAreMadeOneLevelAtATimeAndPopulatedOnce) {
    Tree tree;
    EXPECT_EQ(reference::liveCounts().packages, 0);  // nothing resolved yet

    reference::Package* outer = reference::findPackage("outer");
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(tree.outerPopulations, 1);
    EXPECT_EQ(tree.innerPopulations, 0);
    EXPECT_EQ(reference::liveCounts().packages, 1);
    EXPECT_NE(outer->findClassInfo("Shape"), nullptr);
    EXPECT_NE(outer->findNamespaceInfo("inner"), nullptr);
    EXPECT_EQ(outer->findInnerPackage("inner"), nullptr);

    reference::Package* inner = reference::findPackage("outer.inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->name(), "outer.inner");
    EXPECT_EQ(outer->innerPackages(), std::vector<reference::Package*>{inner});
    EXPECT_EQ(omGetNamespace("outer"), outer);
    EXPECT_EQ(omGetInnerNamespace(outer, "inner"), inner);
    EXPECT_EQ(tree.outerPopulations, 1);
    EXPECT_EQ(tree.innerPopulations, 1);
}

TEST_F(HostNamespaceTest, ClassesHaveDottedIdsAndFunctionsDottedNames) {
    Tree tree;
    EXPECT_FALSE(reference::isKnownClass("outer.inner.Point"));  // asking populates nothing
    EXPECT_EQ(reference::liveCounts().packages, 0);

    COSClass* point = COSClass::getClass(makeId("outer.inner.Point"));
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->getClassID(), makeId("outer.inner.Point"));
    EXPECT_EQ(COSClass::getClass(makeId("outer.inner.Point")), point);
    EXPECT_TRUE(reference::isKnownClass("outer.inner.Point"));
    EXPECT_EQ(tree.innerPopulations, 1);
    {
        COSInterfacePtr object = values::readObject(reference::construct(makeId("outer.inner.Point"), {}));
        EXPECT_EQ(reference::asObject(object)->cls(), point);
    }
    // The constructor's output is typed by the full id.
    auto* cls = reference::findClass("outer.inner.Point");
    const auto& signature = reference::asSignature(cls->findConstructor()->getSignature());
    EXPECT_EQ(signature.outputs()[0].type, makeId("outer.inner.Point scalar"));

    auto out = reference::invokeFunction("outer.inner.f", {values::makeDouble(1), values::makeDouble(2)}, 1);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(values::readDouble(out[0]).value(), 2.0);
    EXPECT_NE(reference::findFunction("outer.area"), nullptr);

    EXPECT_EQ(COSClass::getClass(makeId("outer.Nothing")), nullptr);
    EXPECT_EQ(COSClass::getClass(makeId("nowhere.Point")), nullptr);
    EXPECT_EQ(reference::findFunction("outer.inner"), nullptr);
    EXPECT_THROW(reference::invokeFunction("outer.inner.g", {}, 1), std::invalid_argument);
}

// Every level of a long path is looked up in the one above it, not only the first two.
TEST_F(HostNamespaceTest, PathsOfThreeAndMoreLevelsResolveLevelByLevel) {
    auto a = createNamespace("a");
    auto b = createNamespace("b");
    auto c = createNamespace("c");
    auto f = createFunction("f");
    f->invokeFcn = [](const COSClient*, int& count, COSValue* out, int, const COSValue*) {
        out[0] = values::makeDouble(4);
        count = 1;
    };
    c->addFunction(f);
    c->addClass(createClass("D"));
    b->addClass(createClass("c"));  // a class beside the namespace of the same name
    b->addInnerNamespace(c);
    a->addInnerNamespace(b);
    a->publish();

    reference::Package* abc = reference::findPackage("a.b.c");
    ASSERT_NE(abc, nullptr);
    EXPECT_EQ(abc->name(), "a.b.c");
    EXPECT_EQ(omGetInnerNamespace(omGetInnerNamespace(omGetNamespace("a"), "b"), "c"), abc);
    COSClass* d = COSClass::getClass(makeId("a.b.c.D"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->getClassID(), makeId("a.b.c.D"));
    EXPECT_EQ(reference::findClass("a.b.c")->getClassID(), makeId("a.b.c"));
    auto out = reference::invokeFunction("a.b.c.f", {}, 1);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(values::readDouble(out[0]).value(), 4.0);
    EXPECT_EQ(reference::findFunction("a.b.c.f"), abc->findFunction("f"));

    EXPECT_EQ(reference::findPackage("a.b.c.D"), nullptr);
    EXPECT_EQ(reference::findPackage("a.c.b"), nullptr);
    EXPECT_EQ(reference::findFunction("a.b.f"), nullptr);
    EXPECT_EQ(reference::findFunction("a.c.b.f"), nullptr);
    EXPECT_EQ(COSClass::getClass(makeId("a.b.D")), nullptr);
    EXPECT_EQ(COSClass::getClass(makeId("a.b.c.d.D")), nullptr);
}

// One record listed in two namespaces becomes two host classes; the members go to the
// first populated, the record's one cosClass follows each population, and the sharing is
// diagnosed.
TEST_F(HostNamespaceTest, AClassRecordInTwoNamespacesAnswersForTheClassPopulatedLast) {
    auto shared = createClass("C");
    shared->addConstructor(createConstructor());
    auto one = createNamespace("one");
    one->addClass(shared);
    one->publish();
    auto two = createNamespace("two");
    two->addClass(shared);
    two->publish();

    reference::ClassObject* first = reference::findClass("one.C");
    ASSERT_TRUE(first);
    EXPECT_EQ(shared->cosClass, first);
    reference::ClassObject* second = reference::findClass("two.C");
    ASSERT_TRUE(second);
    EXPECT_EQ(shared->cosClass, second);
    ASSERT_NE(first->findConstructor(), nullptr);
    EXPECT_EQ(second->findConstructor(), nullptr);  // the members went to the first
    EXPECT_EQ(reference::asSignature(first->findConstructor()->getSignature()).toString(),
              "() -> (two.C scalar Output)");

    const auto findings = diagnostics::diagnose(shared);
    ASSERT_EQ(findings.size(), 1u) << diagnostics::describe(findings);
    EXPECT_EQ(findings[0].check, "shared-class");
    EXPECT_EQ(findings[0].message,
              "the host populated the record as one.C too besides two.C: only the first populated gets the "
              "members, and the record answers for the last populated alone; make one record per class");

    // Within one tree the listing itself is diagnosed, before any host sees it.
    auto record = createClass("Part");
    auto geo = createNamespace("geo");
    auto util = createNamespace("util");
    geo->addClass(record);
    util->addClass(record);
    geo->addInnerNamespace(util);
    const auto listed = diagnostics::diagnose(geo);
    ASSERT_EQ(listed.size(), 1u) << diagnostics::describe(listed);
    EXPECT_EQ(listed[0].check, "shared-class");
    EXPECT_EQ(listed[0].recordName, "geo.util.Part");
    EXPECT_EQ(listed[0].message,
              "the class record is also listed as geo.Part: the host makes a class for each listing, but only the "
              "first populated gets the members, and the record answers for the last populated alone; make one "
              "record per class");
}

TEST_F(HostNamespaceTest, UnknownNamesRaiseTheHostsErrorAndAreNeverNull) {
    Tree tree;
    EXPECT_HOST_ERROR(omGetNamespace("nowhere"), "orrery:namespace:NotFound", "No namespace named 'nowhere'.");
    COSPackage* outer = omGetNamespace("outer");
    EXPECT_HOST_ERROR(omGetInnerNamespace(outer, "Shape"), "orrery:namespace:NotFound",
                      "No namespace named 'outer.Shape'.");
    EXPECT_EQ(reference::findPackage("outer.nowhere.deeper"), nullptr);
    EXPECT_THROW(omGetInnerNamespace(nullptr, "inner"), std::invalid_argument);
    EXPECT_THROW(omGetNamespace(nullptr), std::invalid_argument);
}

TEST_F(HostNamespaceTest, FailedPopulationLeavesTheTreeAsBeforeAndIsRetried) {
    int attempts = 0;
    auto outer = createNamespace("outer");
    outer->addFunction(createFunction("f"));
    outer->populatePackageFcn = [&](COSPackage*) {
        if (++attempts == 1) throw std::runtime_error("not yet");
    };
    outer->publish();

    EXPECT_THROW_MESSAGE(reference::findPackage("outer"), std::runtime_error, "not yet");
    EXPECT_TRUE(reference::topLevelPackages().empty());
    reference::Package* package = reference::findPackage("outer");
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(reference::topLevelPackages(), std::vector<reference::Package*>{package});
    EXPECT_NE(package->findFunction("f"), nullptr);

    // The same for a class of the package.
    int classAttempts = 0;
    auto cls = createClass("C");
    cls->populateClassFcn = [&](COSClass*, const COSClient*) {
        if (++classAttempts == 1) throw std::runtime_error("not yet");
    };
    cls->attach(package);
    EXPECT_THROW(reference::findClass("outer.C"), std::runtime_error);
    EXPECT_EQ(package->findClassObject("C"), nullptr);
    EXPECT_NE(reference::findClass("outer.C"), nullptr);
    EXPECT_EQ(classAttempts, 2);
}

TEST_F(HostNamespaceTest, LookupsFromInsideAPopulationFindThePackageBeingPopulated) {
    auto outer = createNamespace("outer");
    COSPackage* seenInside = nullptr;
    outer->populatePackageFcn = [&](COSPackage* package) {
        seenInside = omGetNamespace("outer");
        EXPECT_EQ(seenInside, package);
    };
    outer->publish();
    EXPECT_EQ(reference::findPackage("outer"), seenInside);
}

TEST_F(HostNamespaceTest, FirstOfANameWins) {
    auto first = createNamespace("twice");
    first->description = "first";
    first->publish();
    auto second = createNamespace("twice");
    second->description = "second";
    second->publish();
    EXPECT_EQ(reference::registeredNamespaceInfos().size(), 2u);
    EXPECT_STREQ(reference::findPackage("twice")->info()->getDescription(), "first");
}

// Host metadata whose name cannot be read: the package cannot index it, so it must free it.
struct Unnamed : COSNamespaceInfo {
    const char* getName() override { throw std::runtime_error("no name"); }
};

TEST_F(HostNamespaceTest, AddsFreeWhatTheyCannotKeep) {
    EXPECT_THROW(COSPackage::addNamespace(new Unnamed()), std::runtime_error);
    EXPECT_THROW(reference::definePackage("pkg")->addInnerNamespaceInfo(new Unnamed()), std::runtime_error);
    EXPECT_EQ(reference::liveCounts().namespaceInfos, 0);
    EXPECT_TRUE(reference::registeredNamespaceInfos().empty());
}

TEST_F(HostNamespaceTest, ShutdownFreesEveryPackageAndInfo) {
    {
        Tree tree;
        COSClass::getClass(makeId("outer.inner.Point"));
        reference::findClass("outer.Shape");
        EXPECT_EQ(reference::liveCounts().packages, 2);
        EXPECT_EQ(reference::liveCounts().classes, 2);
    }
    reference::shutdown();
    EXPECT_EQ(reference::liveCounts(), reference::LiveCounts{});
    // The tree is usable again afterwards.
    Tree again;
    EXPECT_NE(reference::findPackage("outer.inner"), nullptr);
}

}  // namespace
