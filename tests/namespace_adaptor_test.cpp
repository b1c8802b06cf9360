#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/recording_package.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using orrery::testing::RecordingPackage;
using NamespaceAdaptorTest = orrery::testing::HostTest;

// The adaptor the host receives for a record that nothing flushed: one listed directly
// in a published namespace gets it when that namespace's package is populated.
COSNamespaceInfo* adaptorFor(std::shared_ptr<COSNamespaceInfoStruct> record) {
    auto parent = createNamespace("parent");
    parent->innerNamespaces.push_back(std::move(record));
    parent->publish();
    return reference::findPackage("parent")->entries().back().namespaceInfo;
}

using NameQuery = void (COSNamespaceInfo::*)(const char*);
using NameHook = std::function<void(const char*)> COSNamespaceInfoStruct::*;
const std::pair<NameQuery, NameHook> kNameQueries[] = {
    {&COSNamespaceInfo::handleName1, &COSNamespaceInfoStruct::handleName1Fcn},
    {&COSNamespaceInfo::handleName2, &COSNamespaceInfoStruct::handleName2Fcn},
    {&COSNamespaceInfo::handleName3, &COSNamespaceInfoStruct::handleName3Fcn},
    {&COSNamespaceInfo::handleName4, &COSNamespaceInfoStruct::handleName4Fcn},
};

TEST_F(NamespaceAdaptorTest, FreshRecordAnswersTheDefaults) {
    auto record = createNamespace();
    auto adaptor = adaptorFor(record);
    EXPECT_STREQ(adaptor->getName(), "");
    EXPECT_STREQ(adaptor->getDescription(), "");
    EXPECT_STREQ(adaptor->getDetailedDescription(), "");
    EXPECT_TRUE(adaptor->isOption1());  // the host's own answer is false
    EXPECT_TRUE(adaptor->isOption2());
    EXPECT_EQ(adaptor->getMethodSelector(), nullptr);
    for (auto [query, hook] : kNameQueries) (adaptor->*query)("x");

    record->addFunction(createFunction("f"));  // an unflushed record hands nothing over
    RecordingPackage package;
    EXPECT_CALL(package, addFunctionInfo).Times(0);
    adaptor->populatePackage(&package);
}

TEST_F(NamespaceAdaptorTest, FieldsAndHooksAreReadAtEveryCall) {
    auto record = createNamespace("ns");
    auto adaptor = adaptorFor(record);
    record->name = "renamed";
    record->description = "short";
    record->detailedDescription = "long";
    record->option1 = false;
    EXPECT_STREQ(adaptor->getName(), "renamed");
    EXPECT_STREQ(adaptor->getDescription(), "short");
    EXPECT_STREQ(adaptor->getDetailedDescription(), "long");
    EXPECT_FALSE(adaptor->isOption1());
    EXPECT_TRUE(adaptor->isOption2());
    record->option2 = false;
    EXPECT_FALSE(adaptor->isOption2());

    const auto* selector = reinterpret_cast<const COSMethodSelector*>(&record);
    record->methodSelectorFcn = [selector] { return selector; };
    EXPECT_EQ(adaptor->getMethodSelector(), selector);

    for (auto [query, hook] : kNameQueries) {
        ::testing::MockFunction<void(const char*)> received;
        const char* name = "the.name";
        EXPECT_CALL(received, Call(name));  // the very pointer the host passed
        (*record).*hook = received.AsStdFunction();
        (adaptor->*query)(name);
    }
    ::testing::MockFunction<void(COSPackage*)> populate;
    RecordingPackage package;
    EXPECT_CALL(populate, Call(&package));
    record->populatePackageFcn = populate.AsStdFunction();
    adaptor->populatePackage(&package);
}

TEST_F(NamespaceAdaptorTest, EmptyHooksThrowBadFunctionCall) {
    auto record = createNamespace("ns");
    auto adaptor = adaptorFor(record);
    for (auto [query, hook] : kNameQueries) {
        (*record).*hook = nullptr;
        EXPECT_THROW((adaptor->*query)("x"), std::bad_function_call);
    }
    record->methodSelectorFcn = nullptr;
    EXPECT_THROW(adaptor->getMethodSelector(), std::bad_function_call);
    record->populatePackageFcn = nullptr;
    EXPECT_THROW(adaptor->populatePackage(nullptr), std::bad_function_call);
}

TEST_F(NamespaceAdaptorTest, TheHostsOwnBehaviourStaysForFourSlots) {
    auto adaptor = adaptorFor(createNamespace("ns"));
    EXPECT_FALSE(adaptor->canLoadDynamicContent());
    adaptor->attemptToLoadSubPackage("sub");
    RecordingPackage package;
    adaptor->initializePackage(&package);
    // The host's error names the namespace through the adaptor's own answer.
    EXPECT_HOST_ERROR(adaptor->throwErrorForDefinitionOfExistingName("Point"), "orrery:namespace:NameAlreadyDefined",
                      "'Point' is already defined in namespace 'ns'.");
}

TEST_F(NamespaceAdaptorTest, HookMayReplaceItselfWhilePopulating) {
    auto record = createNamespace("ns");
    record->addFunction(createFunction("f"));
    int replacementCalls = 0;
    record->populatePackageFcn = [&record, &replacementCalls](COSPackage*) {
        record->populatePackageFcn = [&replacementCalls](COSPackage*) { ++replacementCalls; };
    };
    record->publish();
    RecordingPackage package;
    EXPECT_CALL(package, addFunctionInfo);  // the running wrapper survives its replacement
    reference::registeredNamespaceInfos()[0]->populatePackage(&package);
    record->populatePackageFcn(&package);
    EXPECT_EQ(replacementCalls, 1);
}

TEST_F(NamespaceAdaptorTest, LastAdaptorKeepsTheRecordAlive) {
    auto record = createNamespace("ns");
    std::weak_ptr<COSNamespaceInfoStruct> watch = record;
    adaptorFor(record);
    record.reset();
    EXPECT_FALSE(watch.expired());
    reference::shutdown();  // the host frees its adaptors
    EXPECT_TRUE(watch.expired());
}

}  // namespace
