#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "convenience/class_info_struct.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "support/flags.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/members.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using orrery::testing::attachToNewClass;
using orrery::testing::attributeAnswers;
using orrery::testing::expectEachFlagChangesOnlyItsOwnAnswer;
using reference::Signature;

class ConstructorTest : public orrery::testing::HostTest {
protected:
    static reference::ClassObject* hostClass(const std::string& id) { return reference::defineClass(id); }

    static const Signature& signatureOf(COSMethodInfo* info) { return reference::asSignature(info->getSignature()); }

    static std::vector<std::string> texts(const std::vector<COSId>& ids) {
        std::vector<std::string> out;
        for (const auto& id : ids) out.push_back(id.str());
        return out;
    }
};

TEST_F(ConstructorTest, UnsupportedConstructorAcceptsAnythingAndAlwaysRefuses) {
    auto record = createUnsupportedConstructor("Widget");
    EXPECT_TRUE(record->name.empty());
    EXPECT_EQ(record->inputTypes, std::vector<COSId>{makeId("any")});
    EXPECT_EQ(record->inputNames, std::vector<std::string>{"varargin"});
    EXPECT_TRUE(record->hasVarargin);

    auto* cls = hostClass("pkg.Point");
    record->attach(cls);
    COSMethodInfo* info = cls->methods().back();
    COSValue inputs[1] = {values::makeDouble(1)};
    COSValue outputs[1];
    int outputCount = 1;
    // The name given at creation, not the class the constructor was attached to.
    EXPECT_HOST_ERROR(info->invoke(reference::client(), outputCount, outputs, 1, inputs),
                      "LUMEN:orrery_convenience:ConstructorNotSupported",
                      "Objects of class 'Widget' cannot be constructed.");
    EXPECT_EQ(outputCount, 1);
    EXPECT_TRUE(outputs[0].isEmpty());
    EXPECT_THROW(info->invoke(nullptr, outputCount, nullptr, 0, nullptr), ConstructorNotSupportedError);
}

TEST_F(ConstructorTest, AttachingToAHostClassPutsTheNewObjectFirstOnlyForAnUnnamedConstructor) {
    auto record = createConstructor();
    record->outputTypes = {makeId("double")};
    record->outputNames = {"extra"};
    auto* point = hostClass("pkg.Point");
    record->attach(point);
    EXPECT_EQ(record->name, point->getClassName());
    EXPECT_EQ(texts(record->outputTypes), (std::vector<std::string>{"pkg.Point scalar", "double"}));
    EXPECT_EQ(record->outputNames, (std::vector<std::string>{"Output", "extra"}));

    // Now named: a second class only takes over the holder.
    record->attach(hostClass("pkg.Other"));
    EXPECT_EQ(record->outputTypes.size(), 2u);
    EXPECT_EQ(record->outputNames.size(), 2u);
    EXPECT_EQ(std::get<0>(record->classHolder), makeId("pkg.Other"));

    auto named = createConstructor();
    named->name = "make";
    auto* shape = hostClass("pkg.Shape");
    named->attach(shape);
    EXPECT_TRUE(named->outputTypes.empty());
    const auto& signature = signatureOf(shape->methods().back());
    ASSERT_EQ(signature.outputs().size(), 1u);
    EXPECT_EQ(signature.outputs()[0].type, makeId("pkg.Shape scalar"));
    EXPECT_EQ(signature.outputs()[0].name, makeId("Output_1"));
}

TEST_F(ConstructorTest, AttachingToAClassRecordDefersTheTypeToTheFirstSignatureRequest) {
    auto cls = createClass("pkg.Point");
    auto attached = createConstructor();
    auto added = createConstructor();
    auto named = createConstructor();
    named->name = "make";
    attached->attach(cls);
    cls->addConstructor(added);
    named->attach(cls);
    for (const auto& record : {attached, added}) {
        EXPECT_EQ(record->name, "pkg.Point");
        EXPECT_EQ(std::get<1>(record->classHolder), cls);
        EXPECT_EQ(record->outputNames, std::vector<std::string>{"Output"});
        EXPECT_TRUE(record->outputTypes.empty());
    }
    EXPECT_EQ(named->name, "make");
    EXPECT_EQ(named->outputNames, std::vector<std::string>{"Output"});

    // The host populates the class on first request; the constructor then finds its type there.
    cls->publish();
    auto* host = reference::findClass("pkg.Point");
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host->methods().size(), 3u);
    COSMethodInfo* info = host->methods().front();
    const auto& signature = signatureOf(info);
    ASSERT_EQ(signature.outputs().size(), 1u);
    EXPECT_EQ(signature.outputs()[0].type, makeId("pkg.Point scalar"));
    EXPECT_EQ(signature.outputs()[0].name, makeId("Output"));
    EXPECT_EQ(info->getSignature(), &signature);
    EXPECT_EQ(attached->getConstructorSignature().get(), &signature);
    EXPECT_EQ(texts(attached->outputTypes), std::vector<std::string>{"pkg.Point scalar"});
}

TEST_F(ConstructorTest, EachAttributeChangesExactlyItsOwnQueryAndTheFirstTwoStayFalse) {
    using C = COSConstructorInfoStruct;
    auto record = createConstructor();
    COSMethodInfo* info = attachToNewClass(record);
    auto answers = [info] { return attributeAnswers(*info); };
    // isLookupScope is the reference host's own answer, false like every base answer.
    std::array<bool, 10> defaults{};
    defaults[6] = defaults[7] = true;
    EXPECT_EQ(answers(), defaults);

    // In declaration order; no field reaches isLookupScope, isAttribute1 or isAttribute2.
    const std::array fields{ORRERY_FLAG_FIELD(C, attribute3, 3),
                            ORRERY_FLAG_FIELD(C, attribute4, 4),
                            ORRERY_FLAG_FIELD(C, spareFlag, std::nullopt),
                            ORRERY_FLAG_FIELD(C, attribute8, 8),
                            ORRERY_FLAG_FIELD(C, notAttribute5, 5),
                            ORRERY_FLAG_FIELD(C, hasVarargin, std::nullopt),
                            ORRERY_FLAG_FIELD(C, hasVarargout, std::nullopt),
                            ORRERY_FLAG_FIELD(C, attribute6, 6),
                            ORRERY_FLAG_FIELD(C, attribute7, 7),
                            ORRERY_FLAG_FIELD(C, attribute9, 9)};
    expectEachFlagChangesOnlyItsOwnAnswer(*record, answers, fields);
}

TEST_F(ConstructorTest, TextsAreReadFromTheirOwnFieldsOnEveryQuery) {
    auto record = createConstructor();
    COSMethodInfo* info = attachToNewClass(record, "pkg.Point");
    EXPECT_STREQ(info->getName(), "pkg.Point");
    record->name = "make";
    record->description = "short";
    record->detailedDescription = "long";
    EXPECT_STREQ(info->getName(), "make");
    EXPECT_STREQ(info->getDescription(), "short");
    EXPECT_STREQ(info->getDetailedDescription(), "long");
}

TEST_F(ConstructorTest, AccessIsNeverFoldedIntoTheExtendedAccess) {
    auto record = createConstructor();
    COSMethodInfo* info = attachToNewClass(record);
    record->access = COSAccessProtected;
    EXPECT_EQ(info->getAccess(), COSAccessProtected);
    EXPECT_EQ(info->getExtendedAccess(), ExtendedMemberAccess(COSAccessPublic));
    record->extendedAccess = ExtendedMemberAccess(COSAccessPrivate);
    EXPECT_EQ(info->getExtendedAccess(), ExtendedMemberAccess(COSAccessPrivate));
}

TEST_F(ConstructorTest, AttachingAnUnownedRecordThrowsAfterThePreparation) {
    auto* cls = hostClass("pkg.Point");
    COSConstructorInfoStruct unowned;
    const long before = reference::liveCounts().methodInfos;
    EXPECT_THROW(unowned.attach(cls), std::bad_weak_ptr);
    EXPECT_EQ(reference::liveCounts().methodInfos, before);
    EXPECT_TRUE(cls->methods().empty());
    EXPECT_EQ(unowned.name, cls->getClassName());
    EXPECT_EQ(unowned.outputNames, std::vector<std::string>{"Output"});
    EXPECT_EQ(std::get<0>(unowned.classHolder), makeId("pkg.Point"));

    auto classRecord = createClass("pkg.Other");
    EXPECT_THROW(unowned.attach(classRecord), std::bad_weak_ptr);
    EXPECT_TRUE(classRecord->constructorRecords.empty());
    EXPECT_EQ(std::get<1>(unowned.classHolder), classRecord);
}

TEST_F(ConstructorTest, EmptiedInvokeHookThrowsBadFunctionCall) {
    auto record = createConstructor();
    auto* cls = hostClass("pkg.Point");
    record->attach(cls);
    record->invokeFcn = nullptr;
    int outputCount = 1;
    EXPECT_THROW(cls->methods().back()->invoke(nullptr, outputCount, nullptr, 0, nullptr), std::bad_function_call);
}

}  // namespace
