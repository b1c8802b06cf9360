#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <iterator>
#include <memory>
#include <variant>

#include "convenience/convenience.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "support/flags.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using ClassRecordTest = orrery::testing::HostTest;

std::array<bool, 23> flagsOf(const COSClassInfoStruct& r) {
    return {r.classFlag1,  r.classFlag2,  r.classFlag3,  r.classFlag4,  r.classFlag5,  r.classFlag6,
            r.classFlag7,  r.classFlag8,  r.classFlag9,  r.classFlag10, r.classFlag11, r.classFlag12,
            r.classFlag13, r.classFlag14, r.classFlag15, r.classFlag16, r.classFlag17, r.classFlag18,
            r.classFlag19, r.classFlag20, r.classFlag21, r.classFlag22, r.classFlag23};
}

#define FLAG(n) ORRERY_FLAG_FIELD(COSClassInfoStruct, classFlag##n, n - 1)
const std::array recordFlagFields{FLAG(1),  FLAG(2),  FLAG(3),  FLAG(4),  FLAG(5),  FLAG(6),  FLAG(7),  FLAG(8),
                                  FLAG(9),  FLAG(10), FLAG(11), FLAG(12), FLAG(13), FLAG(14), FLAG(15), FLAG(16),
                                  FLAG(17), FLAG(18), FLAG(19), FLAG(20), FLAG(21), FLAG(22), FLAG(23)};
#undef FLAG

std::shared_ptr<COSClassInfoStruct> holderOf(const ClassHolder& holder) {
    auto* record = std::get_if<std::shared_ptr<COSClassInfoStruct>>(&holder);
    return record ? *record : nullptr;
}

TEST_F(ClassRecordTest, NewRecordHoldsHarmlessDefaults) {
    auto record = createClass();
    std::array<bool, 23> expected{};
    expected[9] = expected[10] = expected[12] = true;  // flags 10, 11 and 13
    EXPECT_EQ(flagsOf(*record), expected);
    EXPECT_TRUE(record->name.empty() && record->description.empty() && record->detailedDescription.empty());
    EXPECT_TRUE(record->classInt1 == 0 && record->classInt2 == 0 && record->classInt3 == 0 && record->classInt4 == 0 &&
                record->classInt64 == 0);
    EXPECT_TRUE(record->clientObjectTestFcn(nullptr, nullptr));
    EXPECT_FALSE(record->nameTestFcn("anything"));
    EXPECT_EQ(record->allocateDataFcn(nullptr), nullptr);
    EXPECT_FALSE(record->enumerateFcn(nullptr).hasBody());
    EXPECT_FALSE(record->copyDataFcn);
    EXPECT_EQ(record->cosClass, nullptr);

    // The conversion declines and leaves the host's out-arguments as they were.
    COSValue value = values::makeDouble(4);
    COSDataTypePtr type(makeId("double"));
    hxArray* valueBefore = value.content();
    COSInterface* typeBefore = type.interface();
    EXPECT_FALSE(record->toValueFcn(COSInterfacePtr(), value, type));
    EXPECT_EQ(value.content(), valueBefore);
    EXPECT_EQ(type.interface().get(), typeBefore);

    EXPECT_EQ(createClass("pkg.Point")->name, "pkg.Point");
}

TEST_F(ClassRecordTest, CopiesCarryEveryFieldButNotTheOwnership) {
    COSPropInfo rawProperty;
    auto property = createProperty("x");
    auto source = createClass("pkg.Point");
    source->classFlag7 = true;
    source->stringList = {"one", "two"};
    source->nameTestFcn = [](const char* name) { return name[0] == 'P'; };
    source->cosClass = reference::defineClass("pkg.Host");
    source->cosClient = reference::client();
    source->propertyRecords.push_back(property);  // listed without a back link: no cycle
    source->addProperty(&rawProperty);
    source->addSuperclass(makeId("pkg.Base"), true, 1, false);

    auto expectSameFields = [&](const COSClassInfoStruct& copy) {
        EXPECT_EQ(flagsOf(copy), flagsOf(*source));
        EXPECT_EQ(copy.name, "pkg.Point");
        EXPECT_EQ(copy.stringList, source->stringList);
        EXPECT_TRUE(copy.nameTestFcn("P"));
        EXPECT_EQ(copy.cosClass, source->cosClass);
        EXPECT_EQ(copy.cosClient, source->cosClient);
        EXPECT_EQ(copy.propertyRecords, source->propertyRecords);  // shares the member records
        EXPECT_EQ(copy.propertyInfos, std::vector<COSPropInfo*>{&rawProperty});
        ASSERT_EQ(copy.superclasses.size(), 1u);
        EXPECT_EQ(copy.superclasses[0].id, makeId("pkg.Base"));
    };
    COSClassInfoStruct copy(*source);
    expectSameFields(copy);
    EXPECT_TRUE(copy.weak_from_this().expired());

    auto target = createClass("other");
    *target = *source;
    expectSameFields(*target);
    EXPECT_EQ(target->shared_from_this(), target);
}

// Plugins fill the fields inline, so the order of the fields is part of the binary
// interface: the 23 flags as consecutive bits first, then every other field in turn.
TEST_F(ClassRecordTest, FieldsLieInDeclarationOrder) {
    auto record = createClass();
    const auto* bytes = reinterpret_cast<const unsigned char*>(record.get());
    const auto nameOffset = reinterpret_cast<const unsigned char*>(&record->name) - bytes;
    std::vector<unsigned char> before(bytes, bytes + nameOffset);
    std::vector<std::ptrdiff_t> bits;
    for (std::size_t n = 0; n < 23; ++n) {
        recordFlagFields[n].flip(*record);
        for (std::ptrdiff_t i = 0; i < nameOffset; ++i)
            for (int bit = 0; bit < 8; ++bit)
                if (((bytes[i] ^ before[static_cast<std::size_t>(i)]) >> bit) & 1) bits.push_back(i * 8 + bit);
        recordFlagFields[n].flip(*record);
    }
    ASSERT_EQ(bits.size(), 23u);
    for (std::size_t n = 1; n < bits.size(); ++n) EXPECT_EQ(bits[n], bits[0] + static_cast<std::ptrdiff_t>(n));

    auto& r = *record;
    const void* fields[] = {
        &r.name,          &r.description, &r.detailedDescription, &r.classInt1,       &r.clientObjectTestFcn,
        &r.stringList,    &r.nameTestFcn, &r.populateClassFcn,    &r.allocateDataFcn, &r.objectDataFcn,
        &r.dataFcn,       &r.classInt2,   &r.classInt3,           &r.loadObjectFcn,   &r.toValueFcn,
        &r.fromValueFcn,  &r.classInt64,  &r.classInt4,           &r.enumerateFcn,    &r.notifyFcn,
        &r.copyDataFcn,   &r.cosClass,    &r.cosClient,           &r.propertyRecords, &r.methodRecords,
        &r.propertyInfos, &r.methodInfos, &r.constructorRecords,  &r.superclasses};
    for (std::size_t i = 1; i < std::size(fields); ++i)
        EXPECT_LT(static_cast<const char*>(fields[i - 1]), static_cast<const char*>(fields[i])) << "field " << i;
}

TEST_F(ClassRecordTest, AddConstructorFillsOnlyWhatIsMissing) {
    auto cls = createClass("pkg.Point");
    auto unnamed = createConstructor();
    auto named = createConstructor();
    named->name = "make";
    named->outputNames = {"a", "b"};
    cls->addConstructor(unnamed);
    cls->addConstructor(named);
    cls->name = "pkg.Renamed";

    EXPECT_EQ(unnamed->name, "pkg.Point");
    EXPECT_EQ(unnamed->outputNames, std::vector<std::string>{"Output"});
    EXPECT_TRUE(unnamed->outputTypes.empty());
    EXPECT_EQ(named->name, "make");
    EXPECT_EQ((named->outputNames), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(holderOf(unnamed->classHolder), cls);
    EXPECT_EQ(holderOf(named->classHolder), cls);
    EXPECT_EQ((cls->constructorRecords), (std::vector<std::shared_ptr<COSConstructorInfoStruct>>{unnamed, named}));

    auto anonymous = createClass();
    auto stillUnnamed = createConstructor();
    anonymous->addConstructor(stillUnnamed);
    EXPECT_TRUE(stillUnnamed->name.empty());

    cls->constructorRecords.clear();  // break the record/member cycles
    anonymous->constructorRecords.clear();
}

TEST_F(ClassRecordTest, LinkingPointsTheMemberAtTheLastClassAndListsWithoutChecks) {
    auto a = createClass("A");
    auto b = createClass("B");
    auto property = createProperty("p");
    auto method = createMethod("m");
    a->addProperty(property);
    a->addProperty(property);
    a->addProperty(static_cast<COSPropInfo*>(nullptr));
    a->addMethod(static_cast<COSMethodInfo*>(nullptr));
    a->addMethod(method);
    b->addProperty(property);
    EXPECT_EQ((a->propertyRecords), (std::vector<std::shared_ptr<COSPropInfoStruct>>{property, property}));
    EXPECT_EQ(a->propertyInfos, std::vector<COSPropInfo*>{nullptr});
    EXPECT_EQ(a->methodInfos, std::vector<COSMethodInfo*>{nullptr});
    EXPECT_EQ(b->propertyRecords[0], property);
    EXPECT_EQ(holderOf(property->classHolder), b);
    EXPECT_EQ(holderOf(method->classHolder), a);

    // setClassHolder replaces a host-class id and lists nothing.
    auto loose = createMethod("loose");
    loose->classHolder = makeId("pkg.Host");
    b->setClassHolder(loose);
    EXPECT_EQ(holderOf(loose->classHolder), b);
    EXPECT_TRUE(b->methodRecords.empty());

    a->addSuperclass(makeId("First"), false, 0, true);
    a->addSuperclass(makeId("Second"), true, 7, false);
    ASSERT_EQ(a->superclasses.size(), 2u);
    const SuperclassEntry& last = a->superclasses[1];
    EXPECT_TRUE(last.id == makeId("Second") && last.firstFlag && last.number == 7 && !last.secondFlag);

    a->propertyRecords.clear();
    a->methodRecords.clear();
    b->propertyRecords.clear();
    loose->classHolder = COSId();
}

TEST_F(ClassRecordTest, UnownedRecordRefusesToLinkAndStaysAsItWas) {
    auto source = createClass("pkg.Point");
    COSClassInfoStruct copy(*source);
    auto property = createProperty("p");
    auto method = createMethod("m");
    method->classHolder = makeId("pkg.Host");
    auto constructor = createConstructor();

    EXPECT_THROW(copy.addProperty(property), std::bad_weak_ptr);
    EXPECT_THROW(copy.addMethod(method), std::bad_weak_ptr);
    EXPECT_THROW(copy.setClassHolder(property), std::bad_weak_ptr);
    EXPECT_THROW(copy.addConstructor(constructor), std::bad_weak_ptr);
    EXPECT_TRUE(copy.propertyRecords.empty() && copy.methodRecords.empty() && copy.constructorRecords.empty());
    EXPECT_EQ(std::get<COSId>(property->classHolder), COSId());
    EXPECT_EQ(std::get<COSId>(method->classHolder), makeId("pkg.Host"));
    // The name is copied before the link fails; nothing else changes.
    EXPECT_EQ(constructor->name, "pkg.Point");
    EXPECT_TRUE(constructor->outputNames.empty());
    EXPECT_EQ(std::get<COSId>(constructor->classHolder), COSId());
}

}  // namespace
