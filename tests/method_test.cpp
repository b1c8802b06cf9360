#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "convenience/class_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "support/flags.hpp"
#include "support/host_fixture.hpp"
#include "support/members.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using ::testing::_;

using orrery::testing::attachToNewClass;
using orrery::testing::attributeAnswers;
using orrery::testing::expectEachFlagChangesOnlyItsOwnAnswer;
using MethodTest = orrery::testing::HostTest;

TEST_F(MethodTest, EachAttributeBitChangesExactlyItsOwnQuery) {
    using M = COSMethodInfoStruct;
    auto record = createMethod("run");
    COSMethodInfo* info = attachToNewClass(record);
    EXPECT_STREQ(info->getName(), "run");
    EXPECT_EQ(info->getAccess(), COSAccessPublic);
    auto answers = [info] { return attributeAnswers(*info); };
    // The host base answers false throughout, so every true here comes from the record.
    std::array<bool, 10> defaults{};
    defaults[0] = defaults[5] = defaults[6] = defaults[7] = true;  // isLookupScope, attributes 5 to 7
    EXPECT_EQ(answers(), defaults);

    // In declaration order; the two markers share the bits but no query reads them.
    const std::array fields{ORRERY_FLAG_FIELD(M, attribute2, 2),
                            ORRERY_FLAG_FIELD(M, attribute3, 3),
                            ORRERY_FLAG_FIELD(M, attribute4, 4),
                            ORRERY_FLAG_FIELD(M, attribute8, 8),
                            ORRERY_FLAG_FIELD(M, notAttribute5, 5),
                            ORRERY_FLAG_FIELD(M, attribute1, 1),
                            ORRERY_FLAG_FIELD(M, attribute6, 6),
                            ORRERY_FLAG_FIELD(M, attribute7, 7),
                            ORRERY_FLAG_FIELD(M, attribute9, 9),
                            ORRERY_FLAG_FIELD(M, lookupScope, 0),
                            ORRERY_FLAG_FIELD(M, hasVarargin, std::nullopt),
                            ORRERY_FLAG_FIELD(M, hasVarargout, std::nullopt)};
    expectEachFlagChangesOnlyItsOwnAnswer(*record, answers, fields);
}

TEST_F(MethodTest, InvokeHandsTheHostsArgumentsToTheHookAndNeedsOne) {
    auto record = createMethod("run");
    COSMethodInfo* info = attachToNewClass(record);
    COSValue inputs[2] = {values::makeDouble(1), values::makeDouble(2)};
    COSValue outputs[3];
    int outputCount = 3;

    // The default hook touches nothing.
    info->invoke(reference::client(), outputCount, outputs, 2, inputs);
    EXPECT_EQ(outputCount, 3);
    EXPECT_TRUE(outputs[0].isEmpty());

    ::testing::MockFunction<void(const COSClient*, int&, COSValue*, int, const COSValue*)> hook;
    EXPECT_CALL(hook, Call(reference::client(), _, outputs, 2, inputs))
        .WillOnce([](const COSClient*, int& count, COSValue* out, int, const COSValue* in) {
            out[0] = in[1];
            count = 1;
        });
    record->invokeFcn = hook.AsStdFunction();
    info->invoke(reference::client(), outputCount, outputs, 2, inputs);
    EXPECT_EQ(outputCount, 1);
    EXPECT_EQ(values::readDouble(outputs[0]).value(), 2.0);

    record->invokeFcn = nullptr;
    EXPECT_THROW(info->invoke(reference::client(), outputCount, outputs, 2, inputs), std::bad_function_call);
}

TEST_F(MethodTest, TextsAreReadFromTheirOwnFieldsOnEveryQuery) {
    auto record = createMethod("run");
    COSMethodInfo* info = attachToNewClass(record);
    record->description = "short";
    record->detailedDescription = "long";
    EXPECT_STREQ(info->getDescription(), "short");
    EXPECT_STREQ(info->getDetailedDescription(), "long");
}

TEST_F(MethodTest, ExtendedAccessFallsBackToThePlainLevelOnlyWithoutGrants) {
    auto record = createMethod("run");
    COSMethodInfo* info = attachToNewClass(record);
    record->access = COSAccessProtected;
    record->extendedAccess = ExtendedMemberAccess(COSAccessPrivate);
    record->extendedAccess.flags = 9;
    EXPECT_EQ(info->getExtendedAccess(), ExtendedMemberAccess(COSAccessProtected));

    record->extendedAccess.grantedClasses = {42};
    EXPECT_EQ(info->getExtendedAccess(), record->extendedAccess);
    record->extendedAccess.grantedClasses.clear();
    record->extendedAccess.grantedFunctions = {7};
    EXPECT_EQ(info->getExtendedAccess(), record->extendedAccess);
}

TEST_F(MethodTest, SignatureIsBuiltOnceAndLaterChangesAreIgnored) {
    auto record = createMethod("run");
    record->inputTypes = {makeId("double")};
    COSMethodInfo* info = attachToNewClass(record);

    COSMethodSignature* first = info->getSignature();
    record->inputTypes.push_back(makeId("char"));
    record->hasVarargout = true;
    EXPECT_EQ(info->getSignature(), first);
    EXPECT_EQ(record->getMethodSignature().get(), first);
    EXPECT_EQ(COSMethodInfoStruct(*record).getMethodSignature().get(), first);  // copies share the cache
    const auto& built = reference::asSignature(first);
    EXPECT_EQ(built.inputs().size(), 1u);
    EXPECT_FALSE(built.hasVarargout());
    EXPECT_EQ(reference::liveCounts().signatures, 1);
}

TEST_F(MethodTest, EachHostClassGetsItsOwnAdaptorOverTheSameRecord) {
    auto record = createMethod("run");
    COSMethodInfo* first = attachToNewClass(record, "pkg.A");
    COSMethodInfo* second = attachToNewClass(record, "pkg.B");
    EXPECT_NE(first, second);
    record->name = "renamed";
    EXPECT_STREQ(first->getName(), "renamed");
    EXPECT_STREQ(second->getName(), "renamed");
    ASSERT_EQ(record->classHolder.index(), 0u);
    EXPECT_EQ(std::get<0>(record->classHolder), makeId("pkg.B"));

    // A class record link replaces the host class, and is the same from either side.
    auto cls = createClass("pkg.C");
    auto added = createMethod("other");
    record->attach(cls);
    cls->addMethod(added);
    EXPECT_EQ(cls->methodRecords, (std::vector<std::shared_ptr<COSMethodInfoStruct>>{record, added}));
    EXPECT_EQ(std::get<1>(record->classHolder), cls);
    EXPECT_EQ(std::get<1>(added->classHolder), cls);
    cls->methodRecords.clear();  // the class record and its members own each other until populated
}

TEST_F(MethodTest, AttachingAnUnownedRecordThrowsAndReturnsTheAdaptorMemory) {
    auto* cls = reference::defineClass("pkg.Thing");
    COSMethodInfoStruct unowned;
    const long before = reference::liveCounts().methodInfos;
    EXPECT_THROW(unowned.attach(cls), std::bad_weak_ptr);
    EXPECT_EQ(reference::liveCounts().methodInfos, before);
    EXPECT_TRUE(cls->methods().empty());
    EXPECT_EQ(std::get<0>(unowned.classHolder), cls->getClassID());
}

}  // namespace
