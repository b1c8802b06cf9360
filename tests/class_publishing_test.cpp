#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/recording_class.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using ::testing::_;
using ::testing::Eq;
using ClassPublishingTest = orrery::testing::HostTest;

using orrery::testing::Named;
using orrery::testing::RecordingClass;

ClassInfoAdaptor* onlyRegistered() {
    auto infos = reference::registeredClassInfos();
    EXPECT_EQ(infos.size(), 1u);
    return infos.empty() ? nullptr : dynamic_cast<ClassInfoAdaptor*>(infos[0]);
}

reference::ClassObject* populated(COSClassInfo* info) { return reference::populate(info); }

bool listsEmpty(const COSClassInfoStruct& r) {
    return r.propertyRecords.empty() && r.methodRecords.empty() && r.propertyInfos.empty() && r.methodInfos.empty() &&
           r.constructorRecords.empty() && r.superclasses.empty();
}

TEST_F(ClassPublishingTest, PopulationRunsTheHookThenHandsContentOverInOrder) {
    auto cls = createClass("Point");
    cls->addProperty(createProperty("a"));
    cls->addProperty(createProperty("b"));
    cls->addMethod(createMethod("m"));
    auto* rawProperty = new COSPropInfo();
    auto* rawMethod = new COSMethodInfo();
    cls->addProperty(rawProperty);
    cls->addMethod(rawMethod);
    cls->addConstructor(createConstructor());
    cls->addSuperclass(makeId("First"), true, 7, false);
    cls->addSuperclass(makeId("Second"), false, 1, true);
    ::testing::MockFunction<void(COSClass*, const COSClient*)> hook;
    cls->populateClassFcn = hook.AsStdFunction();
    cls->publish();

    ClassInfoAdaptor* adaptor = onlyRegistered();
    ASSERT_NE(adaptor, nullptr);
    EXPECT_EQ(adaptor->record(), cls);
    EXPECT_EQ(cls->propertyRecords.size(), 2u);  // nothing moves before the host asks

    RecordingClass host;
    {
        ::testing::InSequence order;
        EXPECT_CALL(hook, Call(&host, reference::client()));
        EXPECT_CALL(host, addPropertyInfo(Named("a")));
        EXPECT_CALL(host, addPropertyInfo(Named("b")));
        EXPECT_CALL(host, addMethodInfo(Named("m")));
        EXPECT_CALL(host, addPropertyInfo(Eq(rawProperty)));
        EXPECT_CALL(host, addMethodInfo(Eq(rawMethod)));
        EXPECT_CALL(host, addMethodInfo(Named("Point")));  // the constructor
        EXPECT_CALL(host, addSuperclass(makeId("First"), true, 7, false));
        EXPECT_CALL(host, addSuperclass(makeId("Second"), false, 1, true));
    }
    adaptor->populateClass(&host, reference::client());
    EXPECT_TRUE(listsEmpty(*cls));
    EXPECT_EQ(cls->cosClass, &host);
}

// Many members of each kind: each reaches the host once, in list order, and the emptied
// lists keep no room behind.
TEST_F(ClassPublishingTest, PopulationHandsOverLongListsWholeAndInOrder) {
    auto cls = createClass("Wide");
    std::vector<std::string> properties, methods;
    for (int i = 0; i < 9; ++i) properties.push_back("p" + std::to_string(i));
    for (int i = 0; i < 7; ++i) methods.push_back("m" + std::to_string(i));
    for (const auto& name : properties) cls->addProperty(createProperty(name.c_str()));
    for (const auto& name : methods) cls->addMethod(createMethod(name));
    cls->publish();

    reference::ClassObject* host = populated(onlyRegistered());
    ASSERT_NE(host, nullptr);
    std::vector<std::string> handedProperties, handedMethods;
    for (COSPropInfo* info : host->properties()) handedProperties.push_back(info->getName());
    for (COSMethodInfo* info : host->methods()) handedMethods.push_back(info->getName());
    EXPECT_EQ(handedProperties, properties);
    EXPECT_EQ(handedMethods, methods);
    EXPECT_TRUE(listsEmpty(*cls));
    EXPECT_EQ(cls->propertyRecords.capacity(), 0u);
    EXPECT_EQ(cls->methodRecords.capacity(), 0u);
}

TEST_F(ClassPublishingTest, RecordPublishedTwiceRunsTheHookPerPopulationAndMovesOnce) {
    int hookCalls = 0;
    {
        auto cls = createClass("Point");
        cls->addProperty(createProperty("x"));
        cls->populateClassFcn = [&](COSClass*, const COSClient*) { ++hookCalls; };
        cls->publish();
        cls->publish();
    }
    auto infos = reference::registeredClassInfos();
    ASSERT_EQ(infos.size(), 2u);
    const auto& record = dynamic_cast<ClassInfoAdaptor&>(*infos[0]).record();
    reference::ClassObject* first = populated(infos[1]);
    EXPECT_EQ(first->properties().size(), 1u);
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(record->cosClass, first);

    // The later population hands the record its own host class too, though no member goes there.
    reference::ClassObject* second = populated(infos[0]);
    EXPECT_TRUE(second->properties().empty());
    EXPECT_EQ(hookCalls, 2);
    EXPECT_NE(second, first);
    EXPECT_EQ(record->cosClass, second);
    EXPECT_EQ(record->cosClient, reference::client());
}

TEST_F(ClassPublishingTest, ListsAreReadWhenTheHostPopulates) {
    auto cls = createClass("Point");
    cls->publish();
    cls->addProperty(createProperty("early"));
    auto* host = populated(onlyRegistered());
    ASSERT_EQ(host->properties().size(), 1u);
    EXPECT_STREQ(host->properties()[0]->getName(), "early");

    cls->addProperty(createProperty("late"));
    EXPECT_EQ(host->properties().size(), 1u);
    EXPECT_EQ(cls->propertyRecords.size(), 1u);
    cls->propertyRecords.clear();  // break the record/member cycle
}

TEST_F(ClassPublishingTest, HookReplacedAfterPublishMovesNothing) {
    auto cls = createClass("Point");
    cls->addProperty(createProperty("x"));
    cls->publish();
    int calls = 0;
    cls->populateClassFcn = [&](COSClass*, const COSClient*) { ++calls; };
    EXPECT_TRUE(populated(onlyRegistered())->properties().empty());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(cls->propertyRecords.size(), 1u);
    cls->propertyRecords.clear();
}

// The wrapper keeps the hook that was there at flush time, empty included: the host's
// population then fails before any content moves.
TEST_F(ClassPublishingTest, HookEmptiedBeforePublishFailsThePopulationAndMovesNothing) {
    auto cls = createClass("Point");
    cls->addSuperclass(makeId("Base"), false, 0, false);
    cls->populateClassFcn = nullptr;
    cls->publish();
    ClassInfoAdaptor* adaptor = onlyRegistered();
    ASSERT_NE(adaptor, nullptr);
    RecordingClass host;
    EXPECT_CALL(host, addSuperclass).Times(0);
    EXPECT_THROW(adaptor->populateClass(&host, nullptr), std::bad_function_call);
    EXPECT_EQ(cls->cosClass, &host);
    EXPECT_EQ(cls->superclasses.size(), 1u);
}

TEST_F(ClassPublishingTest, HookMayReplaceItselfWhilePopulating) {
    auto cls = createClass("Point");
    cls->addProperty(createProperty("a"));
    int replacementCalls = 0;
    cls->populateClassFcn = [&cls, &replacementCalls](COSClass*, const COSClient*) {
        cls->populateClassFcn = [&replacementCalls](COSClass*, const COSClient*) { ++replacementCalls; };
    };
    cls->publish();
    // The running wrapper survives its own replacement and still moves the content.
    reference::ClassObject* host = populated(onlyRegistered());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->properties().size(), 1u);
    EXPECT_TRUE(listsEmpty(*cls));
    cls->populateClassFcn(host, nullptr);
    EXPECT_EQ(replacementCalls, 1);
    cls.reset();
}

TEST_F(ClassPublishingTest, HostFailureMidMoveKeepsTheListsForALaterMove) {
    auto cls = createClass("Point");
    cls->addProperty(createProperty("x"));
    cls->addMethod(createMethod("m"));
    cls->addSuperclass(makeId("Base"), false, 0, false);

    // The friend reaches the private move of a record that was never flushed or registered.
    RecordingClass failing;
    EXPECT_CALL(failing, addPropertyInfo(_));
    EXPECT_CALL(failing, addMethodInfo(_)).WillOnce([](COSMethodInfo* m) {
        delete m;
        throw std::length_error("host full");
    });
    EXPECT_CALL(failing, addSuperclass).Times(0);
    EXPECT_THROW_MESSAGE(ClassPrivateFriend::moveContentToCosClass(cls, &failing), std::length_error, "host full");
    EXPECT_TRUE(cls->propertyRecords.size() == 1 && cls->methodRecords.size() == 1 && cls->superclasses.size() == 1);

    RecordingClass retry;
    EXPECT_CALL(retry, addPropertyInfo(Named("x")));
    EXPECT_CALL(retry, addMethodInfo(Named("m")));
    EXPECT_CALL(retry, addSuperclass(makeId("Base"), false, 0, false));
    ClassPrivateFriend::moveContentToCosClass(cls, &retry);
    EXPECT_TRUE(listsEmpty(*cls));
    EXPECT_TRUE(reference::registeredClassInfos().empty());
}

TEST_F(ClassPublishingTest, AttachHandsAFlushedAdaptorToThePackageWithZeroAndTwo) {
    auto cls = createClass("Point");
    cls->addProperty(createProperty("x"));
    auto* package = reference::definePackage("pkg");
    cls->attach(package);
    ASSERT_EQ(package->entries().size(), 1u);
    const auto& entry = package->entries()[0];
    EXPECT_EQ(entry.visibility, 0);
    EXPECT_EQ(entry.kind, 2);
    auto* adaptor = dynamic_cast<ClassInfoAdaptor*>(entry.classInfo);
    ASSERT_NE(adaptor, nullptr);
    EXPECT_EQ(adaptor->record(), cls);

    auto* host = reference::defineClass("pkg.Point");
    adaptor->populateClass(host, reference::client());
    EXPECT_EQ(host->properties().size(), 1u);
}

// Flushing is observable through the hook a derived record overrides.
struct CountingRecord : COSClassInfoStruct {
    int flushes = 0;
    void flushEnumMembers() override { ++flushes; }
};

TEST_F(ClassPublishingTest, UnownedRecordFailsAfterFlushingAndFreesTheAdaptor) {
    CountingRecord record;
    int hookCalls = 0;
    record.populateClassFcn = [&](COSClass*, const COSClient*) { ++hookCalls; };
    auto* rawProperty = new COSPropInfo();
    record.addProperty(rawProperty);
    auto* package = reference::definePackage("pkg");
    const long adaptorsBefore = reference::liveCounts().classInfos;

    EXPECT_THROW(record.publish(), std::bad_weak_ptr);
    EXPECT_THROW(record.attach(package), std::bad_weak_ptr);
    EXPECT_EQ(reference::liveCounts().classInfos, adaptorsBefore);
    EXPECT_TRUE(reference::registeredClassInfos().empty());
    EXPECT_TRUE(package->entries().empty());
    EXPECT_EQ(record.flushes, 2);

    // Both flushes wrapped the hook: it still runs once, then the content moves.
    RecordingClass host;
    EXPECT_CALL(host, addPropertyInfo(Eq(rawProperty)));
    record.populateClassFcn(&host, nullptr);
    EXPECT_EQ(hookCalls, 1);
    EXPECT_TRUE(record.propertyInfos.empty());
}

TEST_F(ClassPublishingTest, PublishedClassReachesTheHostThroughGetClass) {
    {
        auto cls = createClass("pkg.Point");
        cls->addProperty(createProperty("x"));
        cls->addMethod(createMethod("norm"));
        cls->addConstructor(createConstructor());
        cls->addSuperclass(makeId("pkg.Base"), false, 0, false);
        cls->publish();
    }  // the host keeps the record alive from here on
    auto* host = reference::findClass("pkg.Point");
    ASSERT_NE(host, nullptr);
    EXPECT_NE(host->findProperty("x"), nullptr);
    EXPECT_NE(host->findMethod("norm"), nullptr);
    EXPECT_NE(host->findMethod("pkg.Point"), nullptr);
    ASSERT_EQ(host->superclasses().size(), 1u);
    EXPECT_EQ(host->superclasses()[0].id, makeId("pkg.Base"));
    auto* adaptor = dynamic_cast<ClassInfoAdaptor*>(host->info());
    ASSERT_NE(adaptor, nullptr);
    EXPECT_EQ(adaptor->record()->cosClass, host);
    EXPECT_TRUE(listsEmpty(*adaptor->record()));
}

}  // namespace
