// Contract diagnostics: each problem a record can have, found and named; clean records
// give nothing; diagnosing reads the records and runs none of their hooks.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "convenience/diagnostics/contract.hpp"
#include "support/host_fixture.hpp"
#include "support/host_metadata.hpp"

using namespace orrery;
using namespace orrery::convenience;
using namespace orrery::convenience::diagnostics;

namespace orrery::convenience::diagnostics {
void PrintTo(const Finding& finding, std::ostream* out) { *out << describe({finding}); }
}  // namespace orrery::convenience::diagnostics

namespace {

// A class with one member of each kind, as a client writes it: nothing to find.
std::shared_ptr<COSClassInfoStruct> point() {
    auto cls = createClass("pkg.Point");
    auto x = createProperty("x");
    x->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    cls->addProperty(x);
    auto norm = createMethod("norm");
    norm->inputTypes = {makeId("pkg.Point scalar")};
    norm->inputNames = {"self"};
    norm->outputTypes = {makeId("double")};
    cls->addMethod(norm);
    auto constructor = createConstructor();
    constructor->inputTypes = {makeId("double")};
    constructor->inputNames = {"x"};
    cls->addConstructor(constructor);
    return cls;
}

// A namespace with a class, a function taking it, and an inner namespace whose class has a
// property of the outer class's type: nothing to find.
std::shared_ptr<COSNamespaceInfoStruct> geo() {
    auto space = createNamespace("geo");
    space->addClass(createClass("Polygon"));
    auto area = createFunction("area");
    area->inputTypes = {makeId("geo.Polygon scalar")};  // a class of this tree: known once published
    space->addFunction(area);
    auto util = createNamespace("util");
    auto grid = createClass("Grid");
    auto cell = createProperty("cell");
    cell->type = makeId("geo.Polygon vector");
    grid->addProperty(cell);
    util->addClass(grid);
    space->addInnerNamespace(util);
    return space;
}

// Member records link back to their class: lists of records never published are cleared
// to let them go.
void release(COSClassInfoStruct& cls) {
    cls.propertyRecords.clear();
    cls.methodRecords.clear();
    cls.constructorRecords.clear();
}

Finding error(const char* check, const char* kind, const char* name, const std::string& message) {
    return {Severity::error, check, kind, name, message};
}
Finding warning(const char* check, const char* kind, const char* name, const std::string& message) {
    return {Severity::warning, check, kind, name, message};
}

class Diagnostics : public orrery::testing::HostTest {};

TEST_F(Diagnostics, EachProblemOfAClassIsFoundAndNamed) {
    const std::string emptyHook = " is empty: the host's call throws std::bad_function_call";
    struct Case {
        std::function<void(COSClassInfoStruct&)> spoil;
        std::vector<Finding> expected;
    };
    const std::vector<Case> cases = {
        {[](auto& c) { c.propertyRecords[0]->type = makeId("dobule"); },
         {error("unknown-type", "property", "pkg.Point.x",
                "the property has the type dobule, which the host does not know")}},
        {[](auto& c) { c.methodRecords[0]->outputTypes[0] = {}; },
         {error("unknown-type", "method", "pkg.Point.norm", "output 1 has the empty type id")}},
        {[](auto& c) { c.methodRecords[0]->inputTypes.push_back(makeId("double")); },
         {error("short-name-list", "method", "pkg.Point.norm",
                "2 input types but 1 input names: the host's signature needs a name for every type")}},
        {[](auto& c) { c.constructorRecords[0]->outputNames.push_back("extra"); },
         {warning("long-name-list", "constructor", "pkg.Point.pkg.Point",
                  "1 output types but 2 output names: the names past the types are ignored")}},
        {[](auto& c) { c.propertyRecords[0]->name.clear(); },
         {error("empty-name", "property", "pkg.Point.", "the property has no name")}},
        {[](auto& c) { c.addProperty(createProperty("x")); },
         {error("duplicate-name", "property", "pkg.Point.x",
                "another property is named x: the host finds only the first")}},
        {[](auto& c) { c.addMethod(createMethod("pkg.Point")); },
         {error("duplicate-name", "constructor", "pkg.Point.pkg.Point",
                "another method or constructor is named pkg.Point: the host finds only the first")}},
        {[](auto& c) { c.constructorRecords.push_back(createConstructor()); },  // listed, never attached
         {error("unattached-constructor", "constructor", "pkg.Point.",
                "the constructor names no class and declares no output: its signature cannot be built"),
          error("empty-name", "constructor", "pkg.Point.", "the constructor has no name")}},
        {[](auto& c) { c.notifyFcn = nullptr; },
         {error("empty-hook", "class", "pkg.Point", "hook notifyFcn" + emptyHook)}},
        {[](auto& c) { c.propertyRecords[0]->getFcn = nullptr; },
         {error("empty-hook", "property", "pkg.Point.x", "hook getFcn" + emptyHook)}},
        {[](auto& c) { c.methodRecords[0]->invokeFcn = nullptr; },
         {error("empty-hook", "method", "pkg.Point.norm", "hook invokeFcn" + emptyHook)}},
        {[](auto& c) { c.addSuperclass(makeId("pkg.Point"), false, 0, false); },
         {error("self-superclass", "class", "pkg.Point", "the class is its own superclass")}},
        {[](auto& c) { c.addSuperclass({}, false, 0, false); },
         {error("empty-superclass", "class", "pkg.Point", "a superclass entry has the empty id")}},
        {[](auto& c) {
             c.addSuperclass(makeId("pkg.Base"), false, 0, false);
             c.addSuperclass(makeId("pkg.Base"), true, 1, false);
         },
         {warning("unknown-superclass", "class", "pkg.Point",
                  "superclass pkg.Base names no class the host or the diagnosed records know"),
          warning("duplicate-superclass", "class", "pkg.Point", "superclass pkg.Base is listed more than once")}},
        {[](auto& c) {
             c.addSuperclass(makeId("double"), false, 0, false);  // the host knows it
             c.addSuperclass(makeId("pkg.Pnt"), false, 0, false);  // a typo
         },
         {warning("unknown-superclass", "class", "pkg.Point",
                  "superclass pkg.Pnt names no class the host or the diagnosed records know")}},
        {[](auto& c) { c.addProperty(static_cast<COSPropInfo*>(nullptr)); },
         {error("null-entry", "class", "pkg.Point", "propertyInfos holds a null pointer")}},
        {[](auto& c) { c.methodRecords.push_back(nullptr); },
         {error("null-entry", "class", "pkg.Point", "methodRecords holds a null record")}},
        {[](auto& c) { createClass("pkg.Other")->setClassHolder(c.methodRecords[0]); },
         {warning("foreign-member", "method", "pkg.Point.norm",
                  "its classHolder names another class record (pkg.Other)")}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        auto cls = point();
        EXPECT_EQ(diagnose(cls), std::vector<Finding>{});
        cases[i].spoil(*cls);
        EXPECT_EQ(diagnose(cls), cases[i].expected) << "case " << i;
        release(*cls);
    }
}

TEST_F(Diagnostics, NamespacesAreDiagnosedWithEverythingInThem) {
    auto clean = geo();
    EXPECT_EQ(diagnose(clean), std::vector<Finding>{});
    release(*clean->innerNamespaces[0]->classes[0]);

    auto space = geo();
    // A sibling in the diagnosed namespace is known before the host has seen it.
    space->innerNamespaces[0]->classes[0]->addSuperclass(makeId("geo.Polygon"), false, 0, false);
    space->addFunction(createFunction("Polygon"));
    space->innerNamespaces[0]->classes[0]->propertyRecords[0]->type = makeId("pkg.Missing scalar");
    space->addInnerNamespace(createNamespace());
    space->innerNamespaces[0]->addInnerNamespace(space->innerNamespaces[0]);  // contains itself
    EXPECT_EQ(diagnose(space),
              (std::vector<Finding>{
                  error("duplicate-name", "function", "geo.Polygon",
                        "another name in the namespace is named Polygon: the host finds only the first"),
                  error("unknown-type", "property", "geo.util.Grid.cell",
                        "the property has the type pkg.Missing scalar, which the host does not know"),
                  error("namespace-cycle", "namespace", "geo.util.util", "the namespace contains itself"),
                  error("empty-name", "namespace", "geo.", "the namespace has no name"),
              }));
    space->innerNamespaces[0]->innerNamespaces.clear();  // break the cycle, or it leaks

    // Thousands of levels: the walk stops at a hundred instead of risking the stack.
    auto deep = createNamespace("deep");
    auto level = deep;
    for (int i = 0; i < 3000; ++i) {
        auto inner = createNamespace("d");
        level->addInnerNamespace(inner);
        level = inner;
    }
    std::string path = "deep";
    for (int i = 0; i < 100; ++i) path += ".d";
    EXPECT_EQ(diagnose(deep), (std::vector<Finding>{error("too-deep", "namespace", path.c_str(),
                                                          "namespaces nest deeper than 100 levels: the walk stops "
                                                          "here")}));
    release(*space->innerNamespaces[0]->classes[0]);
    space->name = "geo.util.";
    EXPECT_EQ(diagnose(*space).at(0), error("empty-name", "namespace", "geo.util.",
                                            "the dotted name ends in \".\": publish() hands nothing to the host"));

    auto function = createFunction("f");
    function->outputTypes = {makeId("nothing")};
    EXPECT_EQ(diagnose(function),
              std::vector<Finding>{error("unknown-type", "function", "f",
                                         "output 1 has the type nothing, which the host does not know")});
    EXPECT_THROW_MESSAGE(diagnose(std::shared_ptr<COSNamespaceFunctionInfoStruct>()), std::invalid_argument,
                         "diagnose: the record is null");
}

TEST_F(Diagnostics, DiagnosingReadsTheRecordsAndRunsNothing) {
    auto cls = point();
    auto fail = [](const char* hook) { return [hook](auto&&...) { ADD_FAILURE() << hook << " ran"; }; };
    cls->populateClassFcn = fail("populateClassFcn");
    cls->methodRecords[0]->invokeFcn = fail("invokeFcn");
    cls->propertyRecords[0]->factoryDefaultFcn = [] {
        ADD_FAILURE() << "factoryDefaultFcn ran";
        return COSValue();
    };
    cls->addSuperclass(makeId("pkg.Point"), false, 0, false);
    EXPECT_EQ(diagnose(cls).size(), 1u);
    EXPECT_TRUE(cls->constructorRecords[0]->outputTypes.empty());  // a signature request would add one
    EXPECT_EQ(cls->constructorRecords[0]->cachedSignature, nullptr);
    EXPECT_FALSE(cls->propertyRecords[0]->factoryDefaultValue.has_value());
    EXPECT_EQ(describe(diagnose(cls)), "error: class \"pkg.Point\": the class is its own superclass [self-superclass]");
    EXPECT_EQ(describe(std::vector<Finding>{}), "no findings");
    release(*cls);
}

}  // namespace

namespace {

// A loader holds only what the host was given; through it, it finds the records published.
TEST_F(Diagnostics, PublishedMetadataLeadsBackToItsRecords) {
    auto cls = point();
    cls->addSuperclass(makeId("pkg.Point"), false, 0, false);
    cls->publish();
    auto space = createNamespace("geo");
    space->addFunction(createFunction(""));
    space->publish();

    std::vector<COSClassInfo*> classes = reference::registeredClassInfos();
    std::vector<COSNamespaceInfo*> namespaces = reference::registeredNamespaceInfos();
    ASSERT_EQ(classes.size(), 1u);
    ASSERT_EQ(namespaces.size(), 1u);
    EXPECT_EQ(diagnosePublished(classes[0]).value(), diagnose(cls));
    EXPECT_EQ(diagnosePublished(namespaces[0]).value(), diagnose(space));
    EXPECT_EQ(diagnosePublished(namespaces[0])->at(0).check, "empty-name");

    // Metadata the library did not make has no record behind it.
    COSClass::addClass(new orrery::testing::ScriptedClassInfo("host.Made"));
    EXPECT_EQ(diagnosePublished(reference::registeredClassInfos().back()), std::nullopt);
}

}  // namespace
