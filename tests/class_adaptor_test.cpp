#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>

#include "convenience/convenience.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "support/flags.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using ClassAdaptorTest = orrery::testing::HostTest;

// Freed the way the host frees adaptors: a plain delete through the base.
std::unique_ptr<COSClassInfo> adaptorFor(std::shared_ptr<COSClassInfoStruct> record) {
    return std::unique_ptr<COSClassInfo>(new ClassInfoAdaptor(std::move(record)));
}

std::array<bool, 23> answers(COSClassInfo& c) {
    return {c.isClassFlag1(),  c.isClassFlag2(),  c.isClassFlag3(),  c.isClassFlag4(),  c.isClassFlag5(),
            c.isClassFlag6(),  c.isClassFlag7(),  c.isClassFlag8(),  c.isClassFlag9(),  c.isClassFlag10(),
            c.isClassFlag11(), c.isClassFlag12(), c.isClassFlag13(), c.isClassFlag14(), c.isClassFlag15(),
            c.isClassFlag16(), c.isClassFlag17(), c.isClassFlag18(), c.isClassFlag19(), c.isClassFlag20(),
            c.isClassFlag21(), c.isClassFlag22(), c.isClassFlag23()};
}

#define FLAG(n) ORRERY_FLAG_FIELD(COSClassInfoStruct, classFlag##n, n - 1)
const std::array flagFields{FLAG(1),  FLAG(2),  FLAG(3),  FLAG(4),  FLAG(5),  FLAG(6),  FLAG(7),  FLAG(8),
                            FLAG(9),  FLAG(10), FLAG(11), FLAG(12), FLAG(13), FLAG(14), FLAG(15), FLAG(16),
                            FLAG(17), FLAG(18), FLAG(19), FLAG(20), FLAG(21), FLAG(22), FLAG(23)};
#undef FLAG

TEST_F(ClassAdaptorTest, EachFlagChangesExactlyItsOwnQuery) {
    auto record = createClass();
    auto adaptor = adaptorFor(record);
    std::array<bool, 23> defaults{};
    defaults[9] = defaults[10] = defaults[12] = true;  // flags 10, 11 and 13
    EXPECT_EQ(answers(*adaptor), defaults);
    orrery::testing::expectEachFlagChangesOnlyItsOwnAnswer(
        *record, [&] { return answers(*adaptor); }, flagFields);
}

TEST_F(ClassAdaptorTest, TextsAndNumbersAreReadAtEveryQuery) {
    auto record = createClass("pkg.Point");
    auto adaptor = adaptorFor(record);
    EXPECT_STREQ(adaptor->getName(), "pkg.Point");
    record->name = "pkg.Renamed";
    record->description = "short";
    record->detailedDescription = "long";
    record->classInt1 = 1;
    record->classInt2 = 2;
    record->classInt3 = 3;
    record->classInt4 = 4;
    record->classInt64 = -(1LL << 40);
    EXPECT_STREQ(adaptor->getName(), "pkg.Renamed");
    EXPECT_STREQ(adaptor->getDescription(), "short");
    EXPECT_STREQ(adaptor->getDetailedDescription(), "long");
    EXPECT_EQ((std::array{adaptor->getClassInt1(), adaptor->getClassInt2(), adaptor->getClassInt3(),
                          adaptor->getClassInt4()}),
              (std::array{1, 2, 3, 4}));
    EXPECT_EQ(adaptor->getClassInt64(), -(1LL << 40));
}

TEST_F(ClassAdaptorTest, HooksReceiveTheHostsArgumentsAndAnswer) {
    auto record = createClass();
    auto adaptor = adaptorFor(record);
    auto* cls = reference::defineClass("pkg.Point");
    COSInterfacePtr object = reference::createObject(cls);
    COSInterfacePtr replacement = reference::createObject(cls);
    int data = 0;
    std::string seen;

    record->allocateDataFcn = [&](COSInterface* o) -> void* { return o == object.get() ? &data : nullptr; };
    EXPECT_EQ(adaptor->allocateData(object), &data);
    record->objectDataFcn = [&](COSInterface* o, void* d) { seen += o == object.get() && d == &data ? "o" : "?"; };
    record->dataFcn = [&](void* d) { seen += d == &data ? "d" : "?"; };
    record->loadObjectFcn = [&](COSInterfacePtr o, const COSLoadInfo*) { seen += o == object ? "l" : "?"; };
    record->notifyFcn = [&] { seen += "n"; };
    adaptor->processObjectData(object, &data);
    adaptor->processData(&data);
    adaptor->loadObject(object, nullptr);
    adaptor->notify();
    EXPECT_EQ(seen, "odln");
    record->clientObjectTestFcn = [&](const COSClient* c, COSInterface* o) { return c && o == object.get(); };
    EXPECT_TRUE(adaptor->testClientObject(reference::client(), object));
    record->nameTestFcn = [](const char* name) { return std::string(name) == "Point"; };
    EXPECT_TRUE(adaptor->testName("Point"));

    // The out-arguments are the host's own: the hooks write straight into them.
    record->toValueFcn = [](COSInterfacePtr, COSValue& v, COSDataTypePtr& t) {
        v = values::makeDouble(2.5);
        t = COSDataTypePtr(makeId("double"));
        return true;
    };
    COSValue value;
    COSDataTypePtr type;
    EXPECT_TRUE(adaptor->convertToValue(object, value, type));
    EXPECT_EQ(values::readDouble(value).value(), 2.5);
    EXPECT_TRUE(type.interface());
    record->fromValueFcn = [&](COSInterfacePtr& o, COSValue, COSDataTypePtr) { o = replacement; };
    COSInterfacePtr target = object;
    adaptor->convertFromValue(target, COSValue(), COSDataTypePtr());
    EXPECT_EQ(target, replacement);

    record->enumerateFcn = [](COSInterface* o) { return Enumeration<COSInterface*>{o, o}; };
    auto listed = adaptor->enumerateObjects(object);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1], object.get());

    record->notifyFcn = [] { throw std::out_of_range("from the client"); };
    EXPECT_THROW_MESSAGE(adaptor->notify(), std::out_of_range, "from the client");
}

TEST_F(ClassAdaptorTest, CopyDataFallsBackToTheHostOnlyWhenUnset) {
    auto record = createClass();
    auto adaptor = adaptorFor(record);
    auto* cls = reference::defineClass("pkg.Point");
    COSInterfacePtr source = reference::createObject(cls);
    COSInterfacePtr target = reference::createObject(cls);
    reference::asObject(source)->values()["x"] = values::makeDouble(7);
    reference::asObject(source)->values()["y"] = values::makeDouble(8);

    adaptor->copyData(source, target, makeId("x"));
    EXPECT_EQ(reference::callCounts().copyData, 1);
    EXPECT_EQ(values::readDouble(reference::asObject(target)->values().at("x")).value(), 7);

    COSId copied;
    record->copyDataFcn = [&](const COSInterface* s, COSInterface* t, const COSId& what) {
        if (s == source.get() && t == target.get()) copied = what;
    };
    adaptor->copyData(source, target, makeId("y"));
    EXPECT_EQ(copied, makeId("y"));
    EXPECT_EQ(reference::callCounts().copyData, 1);
    EXPECT_EQ(reference::asObject(target)->values().count("y"), 0u);
}

TEST_F(ClassAdaptorTest, PopulateClassStoresTheTargetBeforeCallingTheHook) {
    auto record = createClass();
    auto adaptor = adaptorFor(record);
    auto* first = reference::defineClass("pkg.First");
    auto* second = reference::defineClass("pkg.Second");
    int calls = 0;
    record->populateClassFcn = [&](COSClass* c, const COSClient* client) {
        ++calls;
        EXPECT_EQ(record->cosClass, c);
        EXPECT_EQ(record->cosClient, client);
    };
    adaptor->populateClass(first, reference::client());
    EXPECT_EQ(calls, 1);

    record->populateClassFcn = nullptr;
    EXPECT_THROW(adaptor->populateClass(second, nullptr), std::bad_function_call);
    EXPECT_EQ(record->cosClass, second);
    EXPECT_EQ(record->cosClient, nullptr);
}

}  // namespace
