// The namespace record: its add operations, flushing, the population it installs, and
// publishing under plain and dotted names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "convenience/convenience.hpp"
#include "host/exception.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/recording_class.hpp"
#include "support/recording_package.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using orrery::testing::Named;
using orrery::testing::RecordingClass;
using orrery::testing::RecordingPackage;
using ::testing::_;
using ::testing::Eq;
using NamespaceRecordTest = orrery::testing::HostTest;

// The adaptor of the one namespace published at the top level.
COSNamespaceInfo* onlyTopLevel() {
    auto infos = reference::registeredNamespaceInfos();
    EXPECT_EQ(infos.size(), 1u);
    return infos.empty() ? nullptr : infos[0];
}

// Flushing a class record is observable through the hook a derived record overrides.
struct CountingClass : COSClassInfoStruct {
    int flushes = 0;
    void flushEnumMembers() override { ++flushes; }
};

TEST_F(NamespaceRecordTest, AddsListInOrderAndFlushOnlyRecordsThatNeedIt) {
    auto ns = createNamespace("ns");
    EXPECT_EQ(ns->name, "ns");
    EXPECT_EQ(createNamespace()->name, "");
    EXPECT_TRUE(ns->option1 && ns->option2);

    auto cls = std::make_shared<CountingClass>();
    auto inner = createNamespace("inner");
    auto function = createFunction("f");
    ns->addClass(cls);
    ns->addClass(cls);
    ns->addClass(static_cast<COSClassInfo*>(nullptr));
    ns->addFunction(function);
    ns->addFunction(std::shared_ptr<COSNamespaceFunctionInfoStruct>());  // listed, unchecked
    ns->addFunction(static_cast<COSMethodInfo*>(nullptr));
    ns->addInnerNamespace(inner);
    ns->addInnerNamespace(static_cast<COSNamespaceInfo*>(nullptr));
    EXPECT_EQ(ns->classes, (std::vector<std::shared_ptr<COSClassInfoStruct>>{cls, cls}));
    EXPECT_EQ(cls->flushes, 2);
    EXPECT_EQ(ns->classInfos, std::vector<COSClassInfo*>{nullptr});
    EXPECT_EQ(ns->functions.size(), 2u);
    EXPECT_EQ(ns->functionInfos.size(), 1u);
    EXPECT_EQ(ns->innerNamespaces, std::vector<std::shared_ptr<COSNamespaceInfoStruct>>{inner});
    EXPECT_EQ(ns->innerNamespaceInfos.size(), 1u);

    // The inner record was flushed: its population now hands its content over.
    inner->addFunction(createFunction("g"));
    RecordingPackage package;
    EXPECT_CALL(package, addFunctionInfo(Named("g"), 0, 2));
    inner->populatePackageFcn(&package);

    // Records that cannot be flushed are refused before anything changes.
    EXPECT_THROW(ns->addClass(std::shared_ptr<COSClassInfoStruct>()), std::invalid_argument);
    EXPECT_THROW(ns->addInnerNamespace(std::shared_ptr<COSNamespaceInfoStruct>()), std::invalid_argument);
    EXPECT_EQ(ns->classes.size(), 2u);
    EXPECT_EQ(ns->innerNamespaces.size(), 1u);
}

TEST_F(NamespaceRecordTest, AttachFromTheMemberSideEqualsAddingFromTheNamespace) {
    auto ns = createNamespace("ns");
    auto cls = std::make_shared<CountingClass>();
    auto inner = createNamespace("inner");
    cls->attach(ns);
    inner->attach(ns);
    EXPECT_EQ(ns->classes, (std::vector<std::shared_ptr<COSClassInfoStruct>>{cls}));
    EXPECT_EQ(cls->flushes, 1);
    EXPECT_EQ(ns->innerNamespaces, std::vector<std::shared_ptr<COSNamespaceInfoStruct>>{inner});

    // Unowned records throw before the namespace changes.
    CountingClass unownedClass;
    COSNamespaceInfoStruct unownedInner;
    EXPECT_THROW(unownedClass.attach(ns), std::bad_weak_ptr);
    EXPECT_THROW(unownedInner.attach(ns), std::bad_weak_ptr);
    EXPECT_EQ(unownedClass.flushes, 0);
    EXPECT_EQ(ns->classes.size(), 1u);
    EXPECT_EQ(ns->innerNamespaces.size(), 1u);
}

TEST_F(NamespaceRecordTest, PopulationRunsTheClientHookThenHandsOverSixKindsInOrder) {
    auto* classObject = new COSClassInfo();
    auto* functionObject = new COSMethodInfo();
    auto* namespaceObject = new COSNamespaceInfo();
    ::testing::MockFunction<void(COSPackage*)> hook;
    auto ns = createNamespace("ns");
    ns->populatePackageFcn = hook.AsStdFunction();
    // Each kind given in both forms, records first, to show that the order is fixed.
    ns->addClass(createClass("C"));
    ns->addClass(classObject);
    ns->addFunction(createFunction("f"));
    ns->addFunction(functionObject);
    ns->addInnerNamespace(createNamespace("inner"));
    ns->addInnerNamespace(namespaceObject);
    ns->publish();
    COSNamespaceInfo* adaptor = onlyTopLevel();

    RecordingPackage package;
    {
        ::testing::InSequence order;
        EXPECT_CALL(hook, Call(&package));
        EXPECT_CALL(package, addClassInfo(Eq(classObject), 0, 2));
        EXPECT_CALL(package, addClassInfo(Named("C"), 0, 2));
        EXPECT_CALL(package, addFunctionInfo(Eq(functionObject), 0, 2));
        EXPECT_CALL(package, addFunctionInfo(Named("f"), 0, 2));
        EXPECT_CALL(package, addInnerNamespaceInfo(Named("inner")));
        EXPECT_CALL(package, addInnerNamespaceInfo(Eq(namespaceObject)));
    }
    adaptor->populatePackage(&package);
    // Nothing is taken out of the lists.
    EXPECT_EQ(ns->classes.size() + ns->functions.size() + ns->innerNamespaces.size(), 3u);
    EXPECT_EQ(ns->classInfos.size() + ns->functionInfos.size() + ns->innerNamespaceInfos.size(), 3u);
}

TEST_F(NamespaceRecordTest, ListsAreReadAtEachPopulation) {
    auto ns = createNamespace("ns");
    ns->publish();
    ns->addFunction(createFunction("early"));  // after publishing, before population
    COSNamespaceInfo* adaptor = onlyTopLevel();
    {
        RecordingPackage first;
        EXPECT_CALL(first, addFunctionInfo(Named("early"), 0, 2));
        adaptor->populatePackage(&first);
    }
    ns->addFunction(createFunction("late"));
    RecordingPackage second;  // a second population hands everything over again
    EXPECT_CALL(second, addFunctionInfo(Named("early"), 0, 2));
    EXPECT_CALL(second, addFunctionInfo(Named("late"), 0, 2));
    adaptor->populatePackage(&second);
}

TEST_F(NamespaceRecordTest, RecordFlushedTwiceHandsItsContentTwiceAndRunsTheHookOnce) {
    int hookCalls = 0;
    auto inner = createNamespace("inner");
    inner->populatePackageFcn = [&](COSPackage*) { ++hookCalls; };
    inner->addFunction(createFunction("f"));
    createNamespace("a")->addInnerNamespace(inner);
    createNamespace("b")->addInnerNamespace(inner);

    RecordingPackage package;
    EXPECT_CALL(package, addFunctionInfo(Named("f"), 0, 2)).Times(2);
    inner->populatePackageFcn(&package);
    EXPECT_EQ(hookCalls, 1);
}

TEST_F(NamespaceRecordTest, RecordsAppendedDirectlyGetAdaptorsButKeepTheirContent) {
    auto ns = createNamespace("ns");
    auto inner = createNamespace("inner");
    inner->addFunction(createFunction("g"));
    auto cls = createClass("C");
    cls->addMethod(createMethod("m"));
    ns->innerNamespaces.push_back(inner);  // never flushed
    ns->classes.push_back(cls);
    ns->publish();

    RecordingPackage package;
    EXPECT_CALL(package, addInnerNamespaceInfo(Named("inner")));
    EXPECT_CALL(package, addClassInfo(Named("C"), 0, 2));
    onlyTopLevel()->populatePackage(&package);

    RecordingPackage innerPackage;
    EXPECT_CALL(innerPackage, addFunctionInfo).Times(0);
    package.namespaces[0]->populatePackage(&innerPackage);
    RecordingClass host;
    EXPECT_CALL(host, addMethodInfo).Times(0);
    package.classes[0]->populateClass(&host, reference::client());
    EXPECT_EQ(cls->methodRecords.size(), 1u);
    cls->methodRecords.clear();  // break the record/member cycle
}

TEST_F(NamespaceRecordTest, PopulationFailuresLeaveWhatWasHandedOverWithTheHost) {
    auto fill = [](std::shared_ptr<COSNamespaceInfoStruct> ns) {
        ns->addClass(createClass("C"));
        ns->addFunction(createFunction("f"));
        ns->addInnerNamespace(createNamespace("inner"));
        return ns;
    };
    // A hook emptied before flushing: nothing is handed over.
    auto emptied = fill(createNamespace("emptied"));
    emptied->populatePackageFcn = nullptr;
    emptied->publish();
    auto ns = fill(createNamespace("ns"));
    ns->publish();
    COSNamespaceInfo* emptiedAdaptor = reference::registeredNamespaceInfos()[0];
    COSNamespaceInfo* adaptor = reference::registeredNamespaceInfos()[1];

    RecordingPackage untouched;
    EXPECT_CALL(untouched, addClassInfo).Times(0);
    EXPECT_THROW(emptiedAdaptor->populatePackage(&untouched), std::bad_function_call);

    // A host error midway passes through unchanged; the class handed over before stays.
    RecordingPackage failing;
    EXPECT_CALL(failing, addClassInfo(Named("C"), 0, 2));
    EXPECT_CALL(failing, addFunctionInfo(_, 0, 2)).WillOnce([](COSMethodInfo* function, int, int) {
        delete function;
        using namespace foundation::core::except;
        struct Full;
        throw Exception<Full>(Message{{std::string("ns")}, "orrery:namespace", "NotFound"});
    });
    EXPECT_CALL(failing, addInnerNamespaceInfo).Times(0);
    EXPECT_HOST_ERROR(adaptor->populatePackage(&failing), "orrery:namespace:NotFound", "No namespace named 'ns'.");
    EXPECT_EQ(failing.classes.size(), 1u);

    // A null record listed directly cannot become an adaptor: a clear error, not a crash.
    ns->functions.assign(1, nullptr);
    RecordingPackage refused;
    EXPECT_CALL(refused, addClassInfo);
    EXPECT_THROW_MESSAGE(adaptor->populatePackage(&refused), std::invalid_argument,
                         "namespace 'ns' lists a null function record");
}

TEST_F(NamespaceRecordTest, HookReplacedAfterFlushingHandsNothingOver) {
    auto ns = createNamespace("ns");
    ns->addFunction(createFunction("f"));
    ns->publish();
    int calls = 0;
    ns->populatePackageFcn = [&](COSPackage*) { ++calls; };
    RecordingPackage package;
    EXPECT_CALL(package, addFunctionInfo).Times(0);
    onlyTopLevel()->populatePackage(&package);
    EXPECT_EQ(calls, 1);
}

TEST_F(NamespaceRecordTest, CopyOfAFlushedRecordPopulatesFromItsSource) {
    auto source = createNamespace("ns");
    source->addFunction(createFunction("fromSource"));
    createNamespace("parent")->addInnerNamespace(source);  // flushes the source
    auto copy = std::make_shared<COSNamespaceInfoStruct>(*source);
    EXPECT_EQ(copy->functions, source->functions);  // shared, not copied
    copy->functions.assign(1, createFunction("fromCopy"));

    RecordingPackage package;
    EXPECT_CALL(package, addFunctionInfo(Named("fromSource"), 0, 2));
    copy->populatePackageFcn(&package);
}

TEST_F(NamespaceRecordTest, PlainNamesBecomeTopLevelNamespacesWithoutLookups) {
    createNamespace("plain")->publish();
    createNamespace()->publish();
    auto infos = reference::registeredNamespaceInfos();
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_STREQ(infos[0]->getName(), "plain");
    EXPECT_STREQ(infos[1]->getName(), "");
    EXPECT_TRUE(reference::topLevelPackages().empty());  // nothing was looked up
}

TEST_F(NamespaceRecordTest, DottedNamesWalkTheHostsLookups) {
    auto a = createNamespace("a");
    a->addInnerNamespace(createNamespace("b"));
    a->addInnerNamespace(createNamespace());  // "a." is a package too
    a->publish();
    createNamespace()->publish();  // so is the top-level ""

    auto c = createNamespace("a.b.c");
    c->publish();
    EXPECT_EQ(c->name, "c");
    reference::Package* b = reference::findPackage("a.b");
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->entries().size(), 1u);
    EXPECT_STREQ(b->entries()[0].namespaceInfo->getName(), "c");

    auto afterEmpty = createNamespace("a..c");  // the empty component is looked up as ""
    afterEmpty->publish();
    EXPECT_NE(reference::findPackage("a.")->findNamespaceInfo("c"), nullptr);
    createNamespace(".b")->publish();  // "" at the top level
    EXPECT_NE(reference::findPackage("")->findNamespaceInfo("b"), nullptr);

    const long namespaceInfos = reference::liveCounts().namespaceInfos;
    auto trailing = createNamespace("a.");
    trailing->publish();
    EXPECT_EQ(trailing->name, "");
    EXPECT_EQ(reference::liveCounts().namespaceInfos, namespaceInfos);  // nothing handed over
    EXPECT_EQ(reference::findPackage("a")->entries().size(), 2u);
}

TEST_F(NamespaceRecordTest, DottedPathIsSplitBeforeTheLookupsRunClientHooks) {
    auto leaf = createNamespace("a.b.c");
    COSNamespaceInfoStruct* leafRecord = leaf.get();
    auto a = createNamespace("a");
    a->addInnerNamespace(createNamespace("b"));
    // Resolving "a" populates its package, which runs this hook in the middle of the walk.
    a->populatePackageFcn = [leafRecord](COSPackage*) { leafRecord->name = "x"; };
    a->publish();

    leaf->publish();
    EXPECT_EQ(leaf->name, "c");
    EXPECT_NE(reference::findPackage("a.b")->findNamespaceInfo("c"), nullptr);
}

TEST_F(NamespaceRecordTest, LookupErrorsPassThroughBeforeAnythingChanges) {
    createNamespace("a")->publish();
    auto missingTop = createNamespace("x.y");
    EXPECT_HOST_ERROR(missingTop->publish(), "orrery:namespace:NotFound", "No namespace named 'x'.");
    auto missingInner = createNamespace("a.x.y");
    EXPECT_HOST_ERROR(missingInner->publish(), "orrery:namespace:NotFound", "No namespace named 'a.x'.");
    EXPECT_EQ(missingInner->name, "a.x.y");
    EXPECT_EQ(reference::liveCounts().namespaceInfos, 1);
}

TEST_F(NamespaceRecordTest, UnownedRecordIsFlushedButNothingReachesTheHost) {
    createNamespace("a")->publish();
    auto* package = reference::definePackage("pkg");
    COSNamespaceInfoStruct plain, dotted, attached;
    plain.name = "plain";
    dotted.name = "a.leaf";
    for (auto* record : {&plain, &dotted, &attached}) record->addFunction(createFunction("f"));

    EXPECT_THROW(plain.publish(), std::bad_weak_ptr);
    EXPECT_THROW(dotted.publish(), std::bad_weak_ptr);
    EXPECT_THROW(attached.attach(package), std::bad_weak_ptr);
    EXPECT_EQ(dotted.name, "leaf");  // renamed after the lookups, before the failure
    EXPECT_EQ(reference::registeredNamespaceInfos().size(), 1u);
    EXPECT_TRUE(reference::findPackage("a")->entries().empty());
    EXPECT_TRUE(package->entries().empty());
    EXPECT_EQ(reference::liveCounts().namespaceInfos, 1);  // the adaptor storage went back

    // Each was flushed before it failed.
    for (auto* record : {&plain, &dotted, &attached}) {
        RecordingPackage target;
        EXPECT_CALL(target, addFunctionInfo(Named("f"), 0, 2));
        record->populatePackageFcn(&target);
    }
    EXPECT_THROW(createNamespace("n")->attach(static_cast<COSPackage*>(nullptr)), std::invalid_argument);
}

}  // namespace
