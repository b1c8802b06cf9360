#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "convenience/class_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"
#include "convenience/values.hpp"
#include "host/exception.hpp"
#include "host/reference/reference_host.hpp"
#include "support/flags.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/members.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using foundation::core::except::IMsgIDException;

using orrery::testing::attachToNewClass;
using orrery::testing::attributeAnswers;
using orrery::testing::expectEachFlagChangesOnlyItsOwnAnswer;
using orrery::testing::typeOf;
using PropertyTest = orrery::testing::HostTest;

TEST_F(PropertyTest, FreshRecordAsTheHostSeesIt) {
    COSPropInfo* info = attachToNewClass(createProperty("speed"));
    EXPECT_STREQ(info->getName(), "speed");
    EXPECT_EQ(typeOf(info), "any");
    EXPECT_TRUE(info->getValue(nullptr).isEmpty());
    EXPECT_FALSE(info->enumerateInterfaces(reference::client(), nullptr).hasBody());
    EXPECT_FALSE(info->enumerateArrays(reference::client(), nullptr).hasBody());
}

TEST_F(PropertyTest, EachAttributeBitChangesExactlyItsOwnQuery) {
    using P = COSPropInfoStruct;
    auto record = createProperty("speed");
    COSPropInfo* info = attachToNewClass(record);
    auto answers = [info] { return attributeAnswers(*info); };
    // The host base answers false throughout: every true comes from the record.
    std::array<bool, 14> defaults{};
    defaults[5] = defaults[6] = defaults[7] = defaults[8] = defaults[10] = true;  // attributes 6 to 9 and 11
    EXPECT_EQ(answers(), defaults);

    // In declaration order, which is not the query order.
    const std::array fields{
        ORRERY_FLAG_FIELD(P, propertyAttribute13, 12),    ORRERY_FLAG_FIELD(P, propertyAttribute12, 11),
        ORRERY_FLAG_FIELD(P, propertyAttribute4, 3),      ORRERY_FLAG_FIELD(P, propertyAttribute5, 4),
        ORRERY_FLAG_FIELD(P, notPropertyAttribute11, 10), ORRERY_FLAG_FIELD(P, propertyAttribute7, 6),
        ORRERY_FLAG_FIELD(P, propertyAttribute8, 7),      ORRERY_FLAG_FIELD(P, propertyAttribute9, 8),
        ORRERY_FLAG_FIELD(P, propertyAttribute10, 9),     ORRERY_FLAG_FIELD(P, propertyAttribute1, 0),
        ORRERY_FLAG_FIELD(P, spareFlag, std::nullopt),    ORRERY_FLAG_FIELD(P, propertyAttribute6, 5),
        ORRERY_FLAG_FIELD(P, propertyAttribute2, 1),      ORRERY_FLAG_FIELD(P, propertyAttribute3, 2),
        ORRERY_FLAG_FIELD(P, propertyAttribute14, 13)};
    expectEachFlagChangesOnlyItsOwnAnswer(*record, answers, fields);
}

TEST_F(PropertyTest, GetAndSetAccessAreAnsweredEachFromItsOwnField) {
    auto record = createProperty("speed");
    COSPropInfo* info = attachToNewClass(record);
    EXPECT_EQ(info->getGetAccess(), COSAccessPublic);
    EXPECT_EQ(info->getSetAccess(), COSAccessPublic);
    for (auto [get, set] : {std::pair{COSAccessProtected, COSAccessPrivate}, {COSAccessImmutable, COSAccessPublic}}) {
        record->getterAccess = get;
        record->setterAccess = set;
        EXPECT_EQ(info->getGetAccess(), get);
        EXPECT_EQ(info->getSetAccess(), set);
    }
}

TEST_F(PropertyTest, ImplicitDefaultIsTheDataTypesOwnAndComputedOnce) {
    auto record = createProperty("speed");
    record->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    int calls = 0;
    record->factoryDefaultFcn = [&calls, implicit = record->factoryDefaultFcn] {
        ++calls;
        return implicit();
    };
    COSPropInfo* info = attachToNewClass(record);
    EXPECT_EQ(typeOf(info), "double");

    EXPECT_EQ(values::readDouble(info->getFactoryDefault()).value(), 0.0);
    // Neither a second request nor a new type reaches the cached value.
    record->SetTypeAndImplicitFactoryDefaultFcn(makeId("logical"));
    EXPECT_EQ(values::readDouble(info->getFactoryDefault()).value(), 0.0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(reference::callCounts().defaultValuesMade, 1);
}

TEST_F(PropertyTest, CachedDefaultIsReleasedOnceAndAnUncomputedOneLooksUpNothing) {
    auto untouched = createProperty("a");
    untouched->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    untouched.reset();
    EXPECT_EQ(reference::callCounts().typeLookups, 0);

    auto record = createProperty("b");
    record->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    record->GetFactoryDefaultValue();
    {
        // Copies start without a cache: only the record that computed a value releases it.
        auto copy = std::make_shared<COSPropInfoStruct>(*record);
        COSPropInfoStruct assigned;
        assigned = *record;
        EXPECT_FALSE(copy->factoryDefaultValue.has_value());
        EXPECT_FALSE(assigned.factoryDefaultValue.has_value());
    }
    EXPECT_EQ(reference::callCounts().defaultValuesReleased, 0);
    record.reset();
    EXPECT_EQ(reference::callCounts().defaultValuesReleased, 1);
    EXPECT_EQ(reference::liveCounts().defaultValues, 0);
}

TEST_F(PropertyTest, AssigningOverAComputedDefaultReleasesOnlyTheTargetsOwn) {
    auto source = createProperty("source");
    source->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    source->GetFactoryDefaultValue();
    auto target = createProperty("target");
    target->SetTypeAndImplicitFactoryDefaultFcn(makeId("logical"));
    target->GetFactoryDefaultValue();

    *target = *source;
    EXPECT_EQ(reference::callCounts().defaultValuesReleased, 1);
    EXPECT_FALSE(target->factoryDefaultValue.has_value());
    EXPECT_TRUE(source->factoryDefaultValue.has_value());
    COSPropInfoStruct& same = *source;
    *source = same;  // self-assignment releases nothing
    EXPECT_TRUE(source->factoryDefaultValue.has_value());
    EXPECT_EQ(reference::liveCounts().defaultValues, 1);

    // The target computes a default of its own (through the source's implicit function),
    // and a later type change keeps it.
    EXPECT_EQ(values::displayValue(target->GetFactoryDefaultValue()), "0");
    target->SetTypeAndImplicitFactoryDefaultFcn(makeId("logical"));
    EXPECT_EQ(values::displayValue(target->GetFactoryDefaultValue()), "0");
    EXPECT_EQ(reference::callCounts().defaultValuesMade, 3);

    source.reset();
    target.reset();
    EXPECT_EQ(reference::callCounts().defaultValuesReleased, 3);
    EXPECT_EQ(reference::liveCounts().defaultValues, 0);
}

TEST_F(PropertyTest, InvalidTypeIsReportedToTheHostWithThePropertyName) {
    for (const std::string name : {"speed", ""}) {
        auto record = createProperty(name.c_str());
        record->SetTypeAndImplicitFactoryDefaultFcn(makeId("no.Such"));
        COSPropInfo* info = attachToNewClass(record, "pkg.Thing" + name);
        EXPECT_HOST_ERROR(info->getFactoryDefault(), "orrery:class:InvalidPropertyDatatype",
                          "Property '" + name + "' has the unknown data type 'no.Such'.");
        const auto report = reference::lastInvalidTypeReport();
        EXPECT_EQ(report.typeId, makeId("no.Such"));
        if (name.empty())
            EXPECT_TRUE(report.propertyName.isEmpty());
        else
            EXPECT_EQ(report.propertyName, makeId(name));
        EXPECT_FALSE(record->factoryDefaultValue.has_value());
    }
    EXPECT_EQ(reference::callCounts().invalidTypeReports, 2);
}

TEST_F(PropertyTest, CanContainInterfacesAsksTheHostAtMostOncePerRecord) {
    auto record = createProperty("items");
    COSPropInfo* first = attachToNewClass(record, "pkg.A");
    COSPropInfo* second = attachToNewClass(record, "pkg.B");
    // The host's own answer for "any" is yes; both adaptors share it through the record.
    EXPECT_TRUE(first->canContainInterfaces());
    EXPECT_TRUE(first->canContainInterfaces());
    EXPECT_TRUE(second->canContainInterfaces());
    EXPECT_EQ(reference::callCounts().canContainInterfaces, 1);
    EXPECT_EQ(record->canContainInterfacesState, 1);

    for (int state : {0, 1, 5}) {
        auto decided = createProperty("decided");
        decided->canContainInterfacesState = state;
        EXPECT_EQ(attachToNewClass(decided, "pkg.C" + std::to_string(state))->canContainInterfaces(), state == 1);
    }
    EXPECT_EQ(reference::callCounts().canContainInterfaces, 1);
}

TEST_F(PropertyTest, CanContainInterfacesKeepsTheHostsNoAsWellAsItsYes) {
    auto record = createProperty("count");
    record->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    COSPropInfo* info = attachToNewClass(record);
    // The host's own answer for a builtin numeric type is no; it is kept like a yes.
    EXPECT_FALSE(info->canContainInterfaces());
    EXPECT_EQ(record->canContainInterfacesState, 0);
    EXPECT_FALSE(info->canContainInterfaces());
    EXPECT_EQ(reference::callCounts().canContainInterfaces, 1);
}

// Copying is written out field by field (the cached default stays behind), so a field
// left out of it would otherwise go unnoticed.
TEST_F(PropertyTest, CopiesCarryEveryFieldButTheCachedDefault) {
    auto holder = createClass("pkg.Holder");
    auto source = createProperty("speed");
    source->propertyAttribute13 = source->propertyAttribute12 = source->propertyAttribute4 = true;
    source->propertyAttribute5 = source->notPropertyAttribute11 = source->propertyAttribute10 = true;
    source->propertyAttribute1 = source->spareFlag = source->propertyAttribute2 = true;
    source->propertyAttribute3 = source->propertyAttribute14 = true;
    source->propertyAttribute7 = source->propertyAttribute8 = source->propertyAttribute9 = false;
    source->propertyAttribute6 = false;
    source->canContainInterfacesState = 0;
    source->getterAccess = COSAccessProtected;
    source->setterAccess = COSAccessPrivate;
    source->description = "how fast";
    source->detailedDescription = "in metres per second";
    source->type = makeId("double");
    // Each hook notes its slot and whether the host's arguments reached it unchanged.
    auto* objectClass = reference::defineClass("pkg.Car");
    COSInterfacePtr car = reference::createObject(objectClass);
    COSInterface* object = car.get();
    const COSClient* client = reference::client();
    std::vector<std::string> calls;
    auto note = [&calls](const char* slot, bool argumentsArrived) {
        calls.push_back(std::string(slot) + (argumentsArrived ? "" : " (wrong arguments)"));
    };
    source->getFcn = [&, object](COSInterface* o) {
        note("get", o == object);
        return values::makeDouble(4);
    };
    source->setFcn = [&, object](COSInterface* o, COSValue v) {
        note("set", o == object && values::readDouble(v) == 5.0);
    };
    source->setAlternateFcn = [&, object](COSInterface* o, COSValue v) {
        note("setAlternate", o == object && values::readDouble(v) == 6.0);
    };
    source->factoryDefaultFcn = [&] {
        note("default", true);
        return values::makeDouble(2);
    };
    source->enumerateInterfacesFcn = [&, object, client](const COSClient* c, COSInterface* o) {
        note("interfaces", c == client && o == object);
        return Enumeration<COSInterface*>{object};
    };
    source->enumerateArraysFcn = [&, object, client](const COSClient* c, COSInterface* o) {
        note("arrays", c == client && o == object);
        return Enumeration<hxArray*>();
    };
    source->classHolder = holder;
    source->GetFactoryDefaultValue();
    calls.clear();

    auto copied = std::make_shared<COSPropInfoStruct>(*source);
    auto assigned = createProperty("other");
    *assigned = *source;
    int copies = 0;
    for (const auto& copy : {copied, assigned}) {
        ASSERT_EQ(copy->classHolder.index(), 1u);
        EXPECT_EQ(std::get<1>(copy->classHolder), holder);
        COSPropInfo* info = attachToNewClass(copy, "pkg.Copy" + std::to_string(++copies));
        EXPECT_STREQ(info->getName(), "speed");
        EXPECT_STREQ(info->getDescription(), "how fast");
        EXPECT_EQ(copy->detailedDescription, "in metres per second");
        EXPECT_TRUE(copy->spareFlag);
        std::array<bool, 14> flags{};
        flags.fill(true);
        flags[5] = flags[6] = flags[7] = flags[8] = flags[10] = false;  // attributes 6 to 9, and 11 through its inverse
        EXPECT_EQ(attributeAnswers(*info), flags);
        EXPECT_EQ(info->getGetAccess(), COSAccessProtected);
        EXPECT_EQ(info->getSetAccess(), COSAccessPrivate);
        EXPECT_EQ(typeOf(info), "double");
        EXPECT_FALSE(info->canContainInterfaces());

        EXPECT_FALSE(copy->factoryDefaultValue.has_value());
        EXPECT_EQ(values::readDouble(info->getFactoryDefault()), 2.0);
        EXPECT_EQ(values::readDouble(info->getValue(object)), 4.0);
        info->setValue(object, values::makeDouble(5));
        info->setValueAlternate(object, values::makeDouble(6));
        const Enumeration<COSInterface*> found = info->enumerateInterfaces(client, object);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0], object);
        info->enumerateArrays(client, object);
        EXPECT_EQ(calls, (std::vector<std::string>{"default", "get", "set", "setAlternate", "interfaces", "arrays"}));
        calls.clear();
    }
    EXPECT_EQ(reference::callCounts().canContainInterfaces, 0);
    car.reset();  // instances go before their classes
}

TEST_F(PropertyTest, SlotsWithoutARecordFieldGiveTheHostsOwnAnswers) {
    // Fields that a forwarding slot could be tempted to read are all set away from the
    // host's answers; the adaptor must still leave these slots to the host.
    auto record = createProperty("speed");
    record->detailedDescription = "in metres per second";
    record->getterAccess = COSAccessPrivate;
    record->setterAccess = COSAccessImmutable;
    record->spareFlag = true;
    record->propertyAttribute1 = record->propertyAttribute2 = record->propertyAttribute3 = true;
    COSPropInfo* info = attachToNewClass(record);
    const COSPropInfo host;
    EXPECT_STREQ(info->getDetailedDescription(), host.getDetailedDescription());
    EXPECT_EQ(info->getExtendedGetAccess(), host.getExtendedGetAccess());
    EXPECT_EQ(info->getExtendedSetAccess(), host.getExtendedSetAccess());
    EXPECT_EQ(info->isSealed(), host.isSealed());
    EXPECT_EQ(info->hasInternalDefault(), host.hasInternalDefault());
    EXPECT_EQ(info->isWarnOnCopyError(), host.isWarnOnCopyError());
    EXPECT_EQ(info->isNeverAmbiguous(), host.isNeverAmbiguous());
    EXPECT_EQ(info->getPartialMatchPriority(), host.getPartialMatchPriority());
    EXPECT_EQ(info->isWeakReference(), host.isWeakReference());
    EXPECT_EQ(info->isDestructible(), host.isDestructible());
}

TEST_F(PropertyTest, LinkingFromEitherSideLeavesTheSameState) {
    auto cls = createClass("pkg.Thing");
    auto attached = createProperty("a");
    auto added = createProperty("b");
    attachToNewClass(attached, "pkg.Host");  // a later class-record link replaces the host class
    attached->attach(cls);
    cls->addProperty(added);

    EXPECT_EQ(cls->propertyRecords, (std::vector<std::shared_ptr<COSPropInfoStruct>>{attached, added}));
    for (const auto& record : {attached, added}) {
        ASSERT_EQ(record->classHolder.index(), 1u);
        EXPECT_EQ(std::get<1>(record->classHolder), cls);
    }
    // Until the host populates the class, the class record and its members own each other.
    cls->propertyRecords.clear();
}

TEST_F(PropertyTest, AttachingAnUnownedRecordThrowsAndNothingReachesTheClass) {
    auto* cls = reference::defineClass("pkg.Thing");
    COSPropInfoStruct unowned;
    EXPECT_THROW(unowned.attach(cls), std::bad_weak_ptr);
    ASSERT_EQ(unowned.classHolder.index(), 0u);
    EXPECT_EQ(std::get<0>(unowned.classHolder), cls->getClassID());
    EXPECT_TRUE(cls->properties().empty());
    EXPECT_EQ(reference::liveCounts().propInfos, 0);

    auto classRecord = createClass("pkg.Other");
    EXPECT_THROW(unowned.attach(classRecord), std::bad_weak_ptr);
    EXPECT_TRUE(classRecord->propertyRecords.empty());
}

TEST_F(PropertyTest, EmptiedHooksThrowBadFunctionCall) {
    auto record = createProperty("p");
    COSPropInfo* info = attachToNewClass(record);
    record->getFcn = nullptr;
    record->setFcn = nullptr;
    record->setAlternateFcn = nullptr;
    record->factoryDefaultFcn = nullptr;
    record->enumerateInterfacesFcn = nullptr;
    record->enumerateArraysFcn = nullptr;

    EXPECT_THROW(info->getValue(nullptr), std::bad_function_call);
    EXPECT_THROW(info->setValue(nullptr, COSValue()), std::bad_function_call);
    EXPECT_THROW(info->setValueAlternate(nullptr, COSValue()), std::bad_function_call);
    EXPECT_THROW(info->getFactoryDefault(), std::bad_function_call);
    EXPECT_FALSE(record->factoryDefaultValue.has_value());
    EXPECT_THROW(info->enumerateInterfaces(nullptr, nullptr), std::bad_function_call);
    EXPECT_THROW(info->enumerateArrays(nullptr, nullptr), std::bad_function_call);
}

TEST_F(PropertyTest, ClassTypedPropertiesLiveThroughShutdown) {
    // Data types of classes are made on demand and die with their last handle; the
    // host's own answers and the release at shutdown must hold on to them meanwhile.
    reference::defineClass("pkg.Point");
    {
        auto record = createProperty("origin");
        record->SetTypeAndImplicitFactoryDefaultFcn(makeId("pkg.Point scalar"));
        COSPropInfo* info = attachToNewClass(record, "pkg.Shape");
        EXPECT_EQ(typeOf(info), "pkg.Point scalar");
        EXPECT_TRUE(info->canContainInterfaces());
        EXPECT_EQ(info->getFactoryDefault().content()->classID(), hxOBJECT_CLASS);
    }
    // The class object owning the adaptor goes first; its cached default must still
    // find its type, or the fixture sees a default never given back.
    reference::shutdown();
    EXPECT_EQ(reference::liveCounts().defaultValues, 0);
}

}  // namespace
