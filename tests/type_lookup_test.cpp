#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "convenience/class_info_struct.hpp"
#include "convenience/type_lookup.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

class TypeLookup : public orrery::testing::HostTest {};

TEST_F(TypeLookup, DataTypeTextNamesTheClassBeforeTheLastSuffix) {
    COSClass* widget = reference::defineClass("pkg.Widget");
    COSClass* a = reference::defineClass("a");
    COSClass* xScalar = reference::defineClass("x scalar");
    COSClass* dbl = COSClass::getClass(makeId("double"));
    ASSERT_NE(dbl, nullptr);

    EXPECT_EQ(GetLumenClassFromScalarDataTypeWithAssert(makeId("double scalar")), dbl);
    EXPECT_EQ(GetLumenClassFromVectorDataTypeWithAssert(makeId("pkg.Widget vector")), widget);
    // The suffix need not end the text, and the last occurrence decides.
    EXPECT_EQ(GetLumenClassFromScalarDataTypeWithAssert(makeId("a scalar b")), a);
    EXPECT_EQ(GetLumenClassFromScalarDataTypeWithAssert(makeId("x scalar scalar")), xScalar);
}

TEST_F(TypeLookup, MissingSuffixOrUnknownClassGivesNull) {
    EXPECT_EQ(GetLumenClassFromScalarDataTypeWithAssert(makeId("double vector")), nullptr);
    EXPECT_EQ(GetLumenClassFromVectorDataTypeWithAssert(makeId("double scalar")), nullptr);
    EXPECT_EQ(GetLumenClassFromScalarDataTypeWithAssert(makeId("scalar")), nullptr);  // no blank before it
    EXPECT_EQ(GetLumenClassFromScalarDataTypeWithAssert(makeId(" scalar")), nullptr);  // the empty id: no class
    EXPECT_EQ(GetLumenClassWithAssert(makeId("pkg.Nowhere")), nullptr);
}

TEST_F(TypeLookup, ClassLookupPopulatesAPublishedClass) {
    {
        auto record = createClass("pkg.Lazy");
        record->publish();
    }
    EXPECT_EQ(reference::liveCounts().classes, 0);
    COSClass* cls = GetLumenClassWithAssert(makeId("pkg.Lazy"));
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->getClassID(), makeId("pkg.Lazy"));
}

TEST_F(TypeLookup, BuiltinAncestryIsAskedOfTheHost) {
    COSClass* plain = reference::defineClass("pkg.Plain");
    COSClass* level = reference::defineClass("pkg.Level");
    COSClass* deeper = reference::defineClass("pkg.Deeper");
    level->addSuperclass(makeId("double"), false, 0, false);
    deeper->addSuperclass(makeId("pkg.Level"), false, 0, false);
    EXPECT_FALSE(IsBuiltinEnumClass(plain));
    EXPECT_TRUE(IsBuiltinEnumClass(level));
    EXPECT_TRUE(IsBuiltinEnumClass(deeper));
    // No class to ask: refused with the operation's name instead of a crash.
    EXPECT_THROW_MESSAGE(IsBuiltinEnumClass(nullptr), std::invalid_argument,
                         "IsBuiltinEnumClass: the host class is null");
}

TEST_F(TypeLookup, DefiningClassComesFromTheIdOrThePopulatedRecord) {
    COSId id = makeId("pkg.ById");
    EXPECT_EQ(GetDefiningClassID(ClassHolder(id)), id);
    EXPECT_THROW_MESSAGE(GetDefiningClassID(ClassHolder(std::shared_ptr<COSClassInfoStruct>())), std::logic_error,
                         "the member's class record is null");

    auto record = createClass("pkg.ByRecord");
    ClassHolder holder(record);
    // Before the host has populated the class there is nothing to ask.
    EXPECT_THROW_MESSAGE(GetDefiningClassID(holder), std::logic_error,
                         "the class record 'pkg.ByRecord' has no host class yet: the host has not populated it");
    record->publish();
    COSClass::getClass(makeId("pkg.ByRecord"));
    EXPECT_EQ(GetDefiningClassID(holder), makeId("pkg.ByRecord"));
    holder = COSId();  // drop the record before the host shuts down
    record.reset();
}

}  // namespace
