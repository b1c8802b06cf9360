// Records that outlive the host or their source, loops between records that nobody
// reaches any more, host objects that outlive shutdown, and hooks that replace
// themselves: nothing reads freed memory, nothing leaks without being named.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "convenience/convenience.hpp"
#include "convenience/diagnostics/live_records.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/recording_class.hpp"
#include "support/recording_package.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using orrery::testing::RecordingClass;
using ::testing::_;
using LifetimeTest = orrery::testing::HostTest;

std::vector<std::string> liveRecordTexts() {
    std::vector<std::string> texts;
    for (const auto& record : diagnostics::liveRecords()) texts.push_back(record.kind + " " + record.name);
    return texts;
}

TEST_F(LifetimeTest, RecordsOutlivingTheHostForgetItsClass) {
    auto cls = createClass("pkg.Point");
    auto constructor = createConstructor();
    cls->addConstructor(constructor);
    cls->publish();
    ASSERT_NE(COSClass::getClass(makeId("pkg.Point")), nullptr);
    EXPECT_NE(cls->cosClass, nullptr);

    reference::shutdown();
    // The host class is gone: the record answers as before population, without reading it.
    EXPECT_EQ(cls->cosClass, nullptr);
    EXPECT_EQ(cls->cosClient, nullptr);
    EXPECT_THROW(GetDefiningClassID(constructor->classHolder), std::logic_error);
    EXPECT_THROW(constructor->getConstructorSignature(), std::logic_error);
}

TEST_F(LifetimeTest, ACopyOfAPopulatedRecordDoesNotReadItsHostClassOnceTheHostLetsGo) {
    auto cls = createClass("pkg.Point");
    cls->publish();
    ASSERT_NE(COSClass::getClass(makeId("pkg.Point")), nullptr);
    // A copy carries the source's host class along; nothing clears the copy's.
    auto copy = std::make_shared<COSClassInfoStruct>(*cls);
    auto constructor = createConstructor();
    copy->addConstructor(constructor);
    EXPECT_EQ(GetDefiningClassID(constructor->classHolder).str(), "pkg.Point");

    reference::shutdown();
    EXPECT_NE(copy->cosClass, nullptr);
    EXPECT_THROW_MESSAGE(GetDefiningClassID(constructor->classHolder), std::logic_error,
                         "the class record 'pkg.Point' points at a host class that the host has let go of");
    EXPECT_THROW(constructor->getConstructorSignature(), std::logic_error);

    // Published again, the copy is populated afresh and answers from its new host class.
    copy->publish();
    ASSERT_NE(COSClass::getClass(makeId("pkg.Point")), nullptr);
    EXPECT_EQ(GetDefiningClassID(constructor->classHolder).str(), "pkg.Point");
    copy->constructorRecords.clear();
}

TEST_F(LifetimeTest, AnAdaptorLeavesARecordPopulatedByAnotherAdaptorAlone) {
    auto cls = createClass("pkg.Point");
    cls->publish();
    auto* unused = new ClassInfoAdaptor(cls);  // a second adaptor, owned here
    reference::ClassObject* populated = reference::findClass("pkg.Point");
    EXPECT_EQ(cls->cosClass, populated);
    // The second adaptor never populated the record; freeing it changes nothing.
    delete unused;
    EXPECT_EQ(cls->cosClass, populated);
}

// A host class freed before its adaptor, and a new one made at the same address and
// populated in between: the new class is alive, whatever the old adaptor's end says.
TEST_F(LifetimeTest, AHostClassAtTheAddressOfAFreedOneIsAlive) {
    using Host = ::testing::NiceMock<RecordingClass>;
    alignas(Host) unsigned char storage[sizeof(Host)];
    auto makeClass = [&](const char* id) {
        auto* made = new (storage) Host();
        ON_CALL(*made, getClassID()).WillByDefault(::testing::Return(makeId(id)));
        return made;
    };
    auto first = createClass("pkg.First");
    auto second = createClass("pkg.Second");
    auto firstMember = createMethod("m");
    first->addMethod(firstMember);
    auto secondMember = createMethod("m");
    second->addMethod(secondMember);

    // Another record populates the new class.
    auto* oldAdaptor = new ClassInfoAdaptor(first);
    Host* oldClass = makeClass("pkg.First");
    oldAdaptor->populateClass(oldClass, nullptr);
    oldClass->~Host();
    Host* newClass = makeClass("pkg.Second");
    auto* newAdaptor = new ClassInfoAdaptor(second);
    newAdaptor->populateClass(newClass, nullptr);
    ASSERT_EQ(static_cast<void*>(oldClass), static_cast<void*>(newClass));
    delete oldAdaptor;
    EXPECT_EQ(first->cosClass, nullptr);
    EXPECT_EQ(second->cosClass, newClass);
    EXPECT_EQ(GetDefiningClassID(secondMember->classHolder).str(), "pkg.Second");
    EXPECT_THROW_MESSAGE(GetDefiningClassID(firstMember->classHolder), std::logic_error,
                         "the class record 'pkg.First' has no host class yet: the host has not populated it");

    // The same record, through a second adaptor, populates the new class.
    auto* againAdaptor = new ClassInfoAdaptor(first);
    newClass->~Host();
    newClass = makeClass("pkg.First");
    againAdaptor->populateClass(newClass, nullptr);
    delete newAdaptor;  // its class went first
    EXPECT_EQ(second->cosClass, nullptr);
    auto* thirdAdaptor = new ClassInfoAdaptor(first);
    newClass->~Host();
    newClass = makeClass("pkg.First");
    thirdAdaptor->populateClass(newClass, nullptr);
    delete againAdaptor;  // freed after its class, whose address the live one now has
    EXPECT_EQ(first->cosClass, newClass);
    EXPECT_EQ(GetDefiningClassID(firstMember->classHolder).str(), "pkg.First");
    delete thirdAdaptor;
    EXPECT_EQ(first->cosClass, nullptr);
    newClass->~Host();
    first->methodRecords.clear();
    second->methodRecords.clear();
}

TEST_F(LifetimeTest, AClassTheHostNeverPullsFreesItsMemberLoop) {
    {
        auto cls = createClass("pkg.Unused");
        cls->addProperty(createProperty("x"));
        cls->addMethod(createMethod("m"));
        cls->addConstructor(createConstructor());
        cls->publish();
    }
    // Only the adaptor reaches the record, which reaches its members, which reach it.
    EXPECT_THAT(liveRecordTexts(), ::testing::UnorderedElementsAre("class pkg.Unused", "property x", "method m",
                                                                   "constructor pkg.Unused"));
    reference::shutdown();
    EXPECT_EQ(diagnostics::liveRecordCount(), 0u) << diagnostics::describe(diagnostics::liveRecords());
}

TEST_F(LifetimeTest, AMemberStillHeldKeepsItsClassAfterTheHostLetsGo) {
    auto property = createProperty("x");
    {
        auto cls = createClass("pkg.Held");
        cls->addProperty(property);
        cls->publish();
    }
    reference::shutdown();
    // The client can still reach the class through the member, so nothing was taken away.
    auto* holder = std::get_if<std::shared_ptr<COSClassInfoStruct>>(&property->classHolder);
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ((*holder)->propertyRecords.size(), 1u);
    (*holder)->propertyRecords.clear();
}

TEST_F(LifetimeTest, AbandonedRecordsAreNamedInTheLeakReport) {
    auto cls = createClass("geo.Polygon");
    cls->addProperty(createProperty("area"));
    std::weak_ptr<COSClassInfoStruct> watch = cls;
    cls.reset();  // the class and its member keep each other alive
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(diagnostics::describe(diagnostics::liveRecords()), "class \"geo.Polygon\", property \"area\"");
    watch.lock()->propertyRecords.clear();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(diagnostics::describe(diagnostics::liveRecords()), "no records");
}

// A hook whose copy can be refused, to stop an assignment half-way.
struct RefusableCopy {
    static inline bool refuse = false;
    RefusableCopy() = default;
    RefusableCopy(const RefusableCopy&) {
        if (refuse) throw std::runtime_error("copy refused");
    }
    void operator()() const {}
};

// An assignment that throws half-way (after the name, at a later hook) leaves its record
// in the report, unnamed rather than read half-changed, until its next assignment; the
// records made, moved and assigned after it, on any number of such failures, enter and
// leave the ledger as before.
TEST_F(LifetimeTest, AnAssignmentThatThrowsLeavesTheReportWholeAndTheLedgerInOrder) {
    auto target = createClass("pkg.Target");
    auto source = createClass("pkg.Source");
    source->notifyFcn = RefusableCopy();
    RefusableCopy::refuse = true;
    for (int i = 0; i < 40; ++i) EXPECT_THROW(*target = *source, std::runtime_error);
    RefusableCopy::refuse = false;
    EXPECT_EQ(diagnostics::describe(diagnostics::liveRecords()), "class \"\", class \"pkg.Source\"");

    auto later = createClass("pkg.Later");
    auto method = createMethod("m");
    COSMethodInfoStruct moved(std::move(*method));
    *method = std::move(moved);
    EXPECT_EQ(diagnostics::describe(diagnostics::liveRecords()),
              "class \"\", class \"pkg.Source\", class \"pkg.Later\", method \"m\", method \"\"");

    *target = *later;
    EXPECT_EQ(target->name, "pkg.Later");
    EXPECT_THAT(liveRecordTexts(), ::testing::ElementsAre("class pkg.Later", "class pkg.Source", "class pkg.Later",
                                                          "method m", "method "));
}

TEST_F(LifetimeTest, ACopyOfAFlushedRecordPopulatesNothingOnceItsSourceIsGone) {
    int hookCalls = 0;
    std::shared_ptr<COSClassInfoStruct> copy;
    {
        COSClassInfoStruct source;  // owned by no shared pointer: publish flushes, then refuses
        source.populateClassFcn = [&](COSClass*, const COSClient*) { ++hookCalls; };
        source.addProperty(new COSPropInfo());
        EXPECT_THROW(source.publish(), std::bad_weak_ptr);
        copy = std::make_shared<COSClassInfoStruct>(source);

        // While the source lives, populating through the copy moves the source's content.
        RecordingClass host;
        EXPECT_CALL(host, addPropertyInfo(_));
        copy->populateClassFcn(&host, nullptr);
        EXPECT_TRUE(source.propertyInfos.empty());
        EXPECT_EQ(copy->propertyInfos.size(), 1u);
    }
    RecordingClass host;
    EXPECT_CALL(host, addPropertyInfo(_)).Times(0);
    copy->populateClassFcn(&host, nullptr);
    EXPECT_EQ(hookCalls, 2);
    // The copy's own list stays where it is; the pointer it shares went to the first host.
    EXPECT_EQ(copy->propertyInfos.size(), 1u);
}

TEST_F(LifetimeTest, ACopyOfAPublishedRecordPopulatesNothingOnceItsSharedSourceIsGone) {
    int hookCalls = 0;
    auto source = createClass("pkg.Source");
    source->populateClassFcn = [&](COSClass*, const COSClient*) { ++hookCalls; };
    source->addSuperclass(makeId("pkg.Base"), false, 0, false);
    source->publish();  // a shared pointer owns it: its copies' wrapper watches its shares
    auto copy = std::make_shared<COSClassInfoStruct>(*source);
    reference::shutdown();  // the host lets go of the source's adaptor, never populated
    source.reset();

    RecordingClass host;
    EXPECT_CALL(host, addSuperclass).Times(0);
    copy->populateClassFcn(&host, nullptr);
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(copy->superclasses.size(), 1u);
}

TEST_F(LifetimeTest, ACopyOfAFlushedNamespaceRecordHandsNothingOverOnceItsSourceIsGone) {
    std::shared_ptr<COSNamespaceInfoStruct> copy;
    {
        COSNamespaceInfoStruct source;  // owned by no shared pointer: publish flushes, then refuses
        source.name = "geo";
        source.addFunction(createFunction("area"));
        EXPECT_THROW(source.publish(), std::bad_weak_ptr);
        copy = std::make_shared<COSNamespaceInfoStruct>(source);
        orrery::testing::RecordingPackage package;
        EXPECT_CALL(package, addFunctionInfo(_, 0, 2));
        copy->populatePackageFcn(&package);  // the source's content, while it lives
    }
    orrery::testing::RecordingPackage package;
    EXPECT_CALL(package, addFunctionInfo(_, _, _)).Times(0);
    copy->populatePackageFcn(&package);
}

TEST_F(LifetimeTest, ANamespaceTheHostNeverResolvesFreesItsClassesMemberLoops) {
    {
        auto geo = createNamespace("geo");
        auto polygon = createClass("Polygon");
        polygon->addProperty(createProperty("area"));
        polygon->addConstructor(createConstructor());
        geo->addClass(polygon);
        geo->publish();
    }
    reference::shutdown();
    EXPECT_EQ(diagnostics::liveRecordCount(), 0u) << diagnostics::describe(diagnostics::liveRecords());
}

TEST_F(LifetimeTest, AClassListedTwiceOrInTwoNamespacesTheHostNeverResolvesIsFreedToo) {
    {
        auto geo = createNamespace("geo");
        auto polygon = createClass("Polygon");
        polygon->addProperty(createProperty("area"));
        polygon->addConstructor(createConstructor());
        geo->addClass(polygon);
        geo->addClass(polygon);
        geo->publish();
        auto map = createNamespace("map");
        auto tile = createClass("Tile");
        tile->addMethod(createMethod("draw"));
        map->addClass(tile);
        geo->addClass(tile);
        map->publish();
    }
    reference::shutdown();
    EXPECT_EQ(diagnostics::liveRecordCount(), 0u) << diagnostics::describe(diagnostics::liveRecords());
}

TEST_F(LifetimeTest, ANamespaceRecordOutlivingTheHostIsPublishedAgainToTheNextOne) {
    auto geo = createNamespace("geo");
    auto area = createFunction("area");
    area->invokeFcn = [](const COSClient*, int& nOut, COSValue* out, int, const COSValue*) {
        out[0] = values::makeDouble(2);
        nOut = 1;
    };
    geo->addFunction(area);
    geo->publish();
    EXPECT_EQ(values::displayValue(reference::invokeFunction("geo.area", {}, 1).at(0)), "2");
    reference::shutdown();
    geo->publish();
    EXPECT_EQ(values::displayValue(reference::invokeFunction("geo.area", {}, 1).at(0)), "2");
}

// Shutting down frees the very adaptor and record whose hook is running: refused.
TEST_F(LifetimeTest, ShutdownFromInsideAHostCallIsRefused) {
    const std::string refused =
        "reference::shutdown: the host is inside a population, constructor, method or property call, whose "
        "metadata shutting down would free under it; shut down once that call has returned";
    auto stop = [](auto&&...) { reference::shutdown(); };
    auto cls = createClass("pkg.Stops");
    cls->populateClassFcn = stop;
    cls->publish();
    EXPECT_THROW_MESSAGE(COSClass::getClass(makeId("pkg.Stops")), std::logic_error, refused);

    auto space = createNamespace("stops");
    space->populatePackageFcn = stop;
    space->publish();
    EXPECT_THROW_MESSAGE(reference::findPackage("stops"), std::logic_error, refused);

    auto inner = createClass("Inner");
    inner->populateClassFcn = stop;
    auto outer = createNamespace("outer");
    outer->addClass(inner);
    auto function = createFunction("f");
    function->invokeFcn = stop;
    outer->addFunction(function);
    outer->publish();
    EXPECT_THROW_MESSAGE(COSClass::getClass(makeId("outer.Inner")), std::logic_error, refused);
    EXPECT_THROW_MESSAGE(reference::invokeFunction("outer.f", {}, 0), std::logic_error, refused);

    auto holder = createClass("pkg.Holder");
    auto property = createProperty("p");
    property->getFcn = [](COSInterface*) -> COSValue {
        reference::shutdown();
        return {};
    };
    holder->addProperty(property);
    holder->publish();
    COSInterfacePtr object = reference::createObject(reference::findClass("pkg.Holder"));
    EXPECT_THROW_MESSAGE(reference::getProperty(object, "p"), std::logic_error, refused);
    object = COSInterfacePtr();

    // Once the calls have returned, it shuts down as ever. The call asked for the
    // function's signature first, which its record caches: let the records go too.
    function = nullptr;
    outer = nullptr;
    reference::shutdown();
    EXPECT_EQ(reference::liveCounts().total(), 0);
}

TEST_F(LifetimeTest, ACopiedImplicitDefaultReadsItsSourceWhileItLivesThenItsOwnType) {
    auto source = createProperty("flag");
    source->SetTypeAndImplicitFactoryDefaultFcn(makeId("logical"));
    auto copy = std::make_shared<COSPropInfoStruct>(*source);
    copy->type = makeId("double");
    // The source's type decides while the source lives.
    EXPECT_EQ(values::displayValue(copy->GetFactoryDefaultValue()), "false");

    auto later = std::make_shared<COSPropInfoStruct>(*source);
    later->type = makeId("double");
    source.reset();
    EXPECT_EQ(values::displayValue(later->GetFactoryDefaultValue()), "0");

    // A callable taken out of every record that carried it has nothing left to read.
    std::function<COSValue()> detached = later->factoryDefaultFcn;
    later.reset();
    copy.reset();
    EXPECT_THROW(detached(), std::logic_error);
}

TEST_F(LifetimeTest, ADefaultCachedBeforeShutdownIsAccountedWhenItsRecordDies) {
    reference::defineClass("pkg.Point");
    auto property = createProperty("where");
    property->SetTypeAndImplicitFactoryDefaultFcn(makeId("pkg.Point scalar"));
    property->GetFactoryDefaultValue();
    EXPECT_EQ(reference::liveCounts().defaultValues, 1);
    reference::shutdown();  // the class, and with it its data type, is gone
    EXPECT_NO_THROW(property.reset());
    EXPECT_EQ(reference::liveCounts().defaultValues, 0);
}

TEST_F(LifetimeTest, ObjectsOutlivingShutdownGiveTheirDataBackAndStaySafeToRelease) {
    int released = 0;
    auto cls = createClass("pkg.Box");
    cls->allocateDataFcn = [](COSInterface*) -> void* { return new int(7); };
    cls->objectDataFcn = [&](COSInterface*, void* data) {
        delete static_cast<int*>(data);
        ++released;
    };
    auto constructor = createConstructor();
    constructor->invokeFcn = [](const COSClient*, int& nOut, COSValue* out, int, const COSValue*) {
        out[0] = values::makeObject(reference::createObject(reference::findClass("pkg.Box")));
        nOut = 1;
    };
    cls->addConstructor(constructor);
    cls->publish();
    cls.reset();
    constructor.reset();

    COSInterfacePtr box = values::readObject(reference::construct(makeId("pkg.Box"), {}));
    reference::shutdown();
    EXPECT_EQ(released, 1);
    EXPECT_EQ(reference::asObject(box)->cls(), nullptr);
    EXPECT_EQ(reference::leakReport(), "1 objects, object of class pkg.Box");
    box.reset();
    EXPECT_EQ(released, 1);
    EXPECT_EQ(reference::leakReport(), "nothing alive");
}

TEST_F(LifetimeTest, RecordsKeptInGlobalsAreReleasedSafelyAtExit) {
    // A plugin keeps its records in globals and never shuts the host down; they are
    // released during static destruction and still reach the registry and type tables.
    EXPECT_EXIT(
        {
            static std::shared_ptr<COSPropInfoStruct> global;
            reference::defineClass("pkg.Global");
            global = createProperty("where");
            global->SetTypeAndImplicitFactoryDefaultFcn(makeId("pkg.Global scalar"));
            global->GetFactoryDefaultValue();
            auto cls = createClass("pkg.Kept");
            cls->addProperty(global);
            cls->publish();
            COSClass::getClass(makeId("pkg.Kept"));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
