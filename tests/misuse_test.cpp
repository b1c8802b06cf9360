// Input outside the contract that the library can recognise: it answers with a clear
// exception and changes nothing, instead of crashing or reading out of bounds.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/members.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using MisuseTest = orrery::testing::HostTest;

TEST_F(MisuseTest, NullRecordsAndNamesAreRefusedWithTheOperationsName) {
    auto cls = createClass("pkg.Point");
    auto property = createProperty("x");
    auto method = createMethod("m");
    auto constructor = createConstructor();
    auto space = createNamespace("pkg");
    auto function = createFunction("f");
    struct Case {
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {[] { createClass(nullptr); }, "createClass: the name is null"},
        {[] { createProperty(nullptr); }, "createProperty: the name is null"},
        {[] { createNamespace(nullptr); }, "createNamespace: the name is null"},
        {[] { createFunction(nullptr); }, "createFunction: the name is null"},
        {[&] { cls->addProperty(std::shared_ptr<COSPropInfoStruct>()); }, "addProperty: the property record is null"},
        {[&] { cls->addMethod(std::shared_ptr<COSMethodInfoStruct>()); }, "addMethod: the method record is null"},
        {[&] { cls->addConstructor(nullptr); }, "addConstructor: the constructor record is null"},
        {[&] { cls->setClassHolder(std::shared_ptr<COSPropInfoStruct>()); },
         "setClassHolder: the property record is null"},
        {[&] { cls->attach(static_cast<COSPackage*>(nullptr)); }, "attach: the host package is null"},
        {[&] { cls->attach(std::shared_ptr<COSNamespaceInfoStruct>()); }, "attach: the namespace record is null"},
        {[] { ClassPrivateFriend::moveContentToCosClass(nullptr, nullptr); },
         "moveContentToCosClass: the class record is null"},
        {[&] { cls->setClassHolder(std::shared_ptr<COSMethodInfoStruct>()); },
         "setClassHolder: the method record is null"},
        {[&] { space->addClass(std::shared_ptr<COSClassInfoStruct>()); }, "addClass: the class record is null"},
        {[&] { space->addInnerNamespace(std::shared_ptr<COSNamespaceInfoStruct>()); },
         "addInnerNamespace: the namespace record is null"},
        {[&] { space->attach(static_cast<COSPackage*>(nullptr)); }, "attach: the host package is null"},
        {[&] { space->attach(std::shared_ptr<COSNamespaceInfoStruct>()); },
         "attach: the parent namespace record is null"},
        {[&] { function->attach(static_cast<COSPackage*>(nullptr)); }, "attach: the host package is null"},
        {[&] { function->attach(std::shared_ptr<COSNamespaceInfoStruct>()); }, "attach: the namespace record is null"},
        {[&] { property->attach(std::shared_ptr<COSClassInfoStruct>()); }, "attach: the class record is null"},
        {[&] { property->attach(static_cast<COSClass*>(nullptr)); }, "attach: the host class is null"},
        {[&] { method->attach(std::shared_ptr<COSClassInfoStruct>()); }, "attach: the class record is null"},
        {[&] { method->attach(static_cast<COSClass*>(nullptr)); }, "attach: the host class is null"},
        {[&] { constructor->attach(std::shared_ptr<COSClassInfoStruct>()); }, "attach: the class record is null"},
        {[&] { constructor->attach(static_cast<COSClass*>(nullptr)); }, "attach: the host class is null"},
    };
    for (const Case& c : cases) EXPECT_THROW_MESSAGE(c.call(), std::invalid_argument, c.message);
    EXPECT_TRUE(cls->propertyRecords.empty() && cls->methodRecords.empty() && cls->constructorRecords.empty());
    EXPECT_TRUE(space->classes.empty() && space->innerNamespaces.empty());
    EXPECT_TRUE(reference::registeredClassInfos().empty());

    // Raw host metadata pointers are still taken as they are, null included.
    cls->addProperty(static_cast<COSPropInfo*>(nullptr));
    EXPECT_EQ(cls->propertyInfos.size(), 1u);

    // A null host class takes nothing: with content to hand over, the move is refused
    // before anything leaves the lists; with none, there is nothing to refuse.
    EXPECT_THROW_MESSAGE(ClassPrivateFriend::moveContentToCosClass(cls, nullptr), std::invalid_argument,
                         "moveContentToCosClass: the host class is null");
    EXPECT_EQ(cls->propertyInfos.size(), 1u);
    cls->propertyInfos.clear();
    ClassPrivateFriend::moveContentToCosClass(cls, nullptr);
}

TEST_F(MisuseTest, LinkingRefusesToGiveOneDefaultOutputNameToSeveralTypes) {
    auto cls = createClass("pkg.Pair");
    auto constructor = createConstructor();
    constructor->outputTypes = {makeId("double"), makeId("double")};
    EXPECT_THROW_MESSAGE(cls->addConstructor(constructor), std::invalid_argument,
                         "addConstructor: constructor \"\" declares 2 output types and no output names; the default "
                         "name \"Output\" serves one output only, so name every output");
    EXPECT_THROW(constructor->attach(cls), std::invalid_argument);
    // Nothing changed on either side.
    EXPECT_TRUE(constructor->name.empty());
    EXPECT_TRUE(constructor->outputNames.empty());
    EXPECT_EQ(std::get<0>(constructor->classHolder), COSId());
    EXPECT_TRUE(cls->constructorRecords.empty());

    // Named outputs link as usual.
    constructor->outputNames = {"first", "second"};
    cls->addConstructor(constructor);
    EXPECT_EQ(constructor->outputNames.size(), 2u);
    cls->constructorRecords.clear();
}

TEST_F(MisuseTest, AttachingAnUnnamedConstructorWithUnnamedOutputsToAHostClassIsRefused) {
    auto* host = reference::defineClass("pkg.Point");
    auto constructor = createConstructor();
    constructor->outputTypes = {makeId("double")};
    EXPECT_THROW_MESSAGE(constructor->attach(host), std::invalid_argument,
                         "attach: constructor \"\" declares 1 output type but 0 output names; name every output "
                         "before attaching it");
    EXPECT_TRUE(constructor->name.empty());
    EXPECT_EQ(constructor->outputTypes.size(), 1u);
    EXPECT_TRUE(host->methods().empty());
}

TEST_F(MisuseTest, ShortNameListsAreRefusedAtSignatureBuildingWithTheRecordAndTheCounts) {
    auto method = createMethod("solve");
    method->inputTypes = {makeId("double"), makeId("double")};
    method->inputNames = {"a"};
    COSMethodInfo* info = orrery::testing::attachToNewClass(method);
    EXPECT_THROW_MESSAGE(info->getSignature(), std::invalid_argument,
                         "method \"solve\": 1 input name for 2 input types (give one name per type, or none for "
                         "generated names)");
    EXPECT_EQ(method->cachedSignature, nullptr);
    EXPECT_EQ(reference::liveCounts().signatures, 0);

    // A constructor whose names were cut short after linking fails the same way.
    auto cls = createClass("pkg.Pair");
    auto constructor = createConstructor();
    cls->addConstructor(constructor);  // one name, "Output"
    constructor->outputTypes = {makeId("double"), makeId("double")};
    cls->publish();
    auto* host = reference::findClass("pkg.Pair");
    ASSERT_NE(host, nullptr);
    EXPECT_THROW_MESSAGE(host->findConstructor()->getSignature(), std::invalid_argument,
                         "constructor \"pkg.Pair\": 1 output name for 2 output types (give one name per type, or "
                         "none for generated names)");
}

TEST_F(MisuseTest, NegativeOutputCountsAreNamedByTheHostsCallHelpers) {
    auto* cls = reference::defineClass("pkg.Thing");
    createMethod("m")->attach(cls);
    COSInterfacePtr object = reference::createObject(cls);
    EXPECT_THROW_MESSAGE(reference::invokeMethod(object, "m", {}, -1), std::invalid_argument,
                         "pkg.Thing.m: the output count must not be negative");
}

TEST_F(MisuseTest, AHookThatReplacesItselfIsReportedInDebugBuilds) {
#ifdef NDEBUG
    GTEST_SKIP() << "release builds call hooks directly; the rule is documented";
#else
    auto method = createMethod("once");
    int cheapCalls = 0;
    method->invokeFcn = [&method, &cheapCalls](const COSClient*, int& nOut, COSValue*, int, const COSValue*) {
        nOut = 0;
        method->invokeFcn = [&cheapCalls](const COSClient*, int&, COSValue*, int, const COSValue*) { ++cheapCalls; };
    };
    COSMethodInfo* info = orrery::testing::attachToNewClass(method);
    int nOut = 1;
    EXPECT_THROW_MESSAGE(info->invoke(nullptr, nOut, nullptr, 0, nullptr), std::logic_error,
                         "invokeFcn of \"once\" replaced or cleared itself while it ran; a hook must leave its own "
                         "field alone (install a successor from outside the hook)");
    // The call itself finished, and the successor is in place.
    EXPECT_EQ(nOut, 0);
    info->invoke(nullptr, nOut, nullptr, 0, nullptr);
    EXPECT_EQ(cheapCalls, 1);

    auto property = createProperty("p");
    property->getFcn = [&property](COSInterface*) {
        property->getFcn = nullptr;
        return COSValue();
    };
    COSPropInfo* prop = orrery::testing::attachToNewClass(property, "pkg.Other");
    EXPECT_THROW(prop->getValue(nullptr), std::logic_error);
    method.reset();
    property.reset();
#endif
}

TEST_F(MisuseTest, AClassWhosePopulationFailedIsPopulatedAgainByTheNextRequest) {
    int attempts = 0;
    auto cls = createClass("pkg.Flaky");
    cls->addProperty(createProperty("x"));
    cls->populateClassFcn = [&attempts](COSClass*, const COSClient*) {
        if (++attempts == 1) throw std::runtime_error("not yet");
    };
    cls->publish();
    EXPECT_THROW(COSClass::getClass(makeId("pkg.Flaky")), std::runtime_error);
    reference::ClassObject* host = reference::findClass("pkg.Flaky");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(host->properties().size(), 1u);
    EXPECT_EQ(cls->cosClass, host);
}

}  // namespace
