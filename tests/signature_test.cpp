// The shared signature builder is internal to the library; it is reached here through a
// method record, whose first signature request builds with it, and read back from the
// reference host's signature, which records every call it receives.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "convenience/method_info_struct.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using reference::Signature;

class SignatureBuilding : public orrery::testing::HostTest {
protected:
    void TearDown() override {
        method.reset();  // the record's cache owns the host signature
        HostTest::TearDown();
    }

    const Signature& build() { return reference::asSignature(method->getMethodSignature().get()); }

    static std::vector<std::string> names(const std::vector<reference::SignatureArgument>& arguments) {
        std::vector<std::string> out;
        for (const auto& argument : arguments) out.push_back(argument.name.str());
        return out;
    }

    std::shared_ptr<COSMethodInfoStruct> method = createMethod("f");
};

TEST_F(SignatureBuilding, MarkersFollowTheirDirectionAndTheOptionSitsBetween) {
    method->inputTypes = {makeId("double")};
    method->inputNames = {"x"};
    method->outputTypes = {makeId("logical")};
    method->outputNames = {"ok"};
    method->hasVarargin = true;
    method->hasVarargout = true;
    method->signatureOption = 7;

    const auto& signature = build();
    EXPECT_EQ(signature.calls(),
              (std::vector<std::string>{"addInput", "setVarargin", "setSignatureOption", "addOutput", "setVarargout"}));
    EXPECT_EQ(signature.option(), 7);
    ASSERT_EQ(signature.inputs().size(), 1u);
    EXPECT_EQ(signature.inputs()[0].type, makeId("double"));
    EXPECT_EQ(signature.inputs()[0].name, makeId("x"));
    ASSERT_EQ(signature.outputs().size(), 1u);
    EXPECT_EQ(signature.outputs()[0].type, makeId("logical"));
    EXPECT_EQ(signature.outputs()[0].name, makeId("ok"));
}

TEST_F(SignatureBuilding, WithoutArgumentsOnlyTheMarkersAndTheOptionReachTheHost) {
    EXPECT_EQ(build().calls(), std::vector<std::string>{"setSignatureOption"});

    method = createMethod("g");
    method->hasVarargin = true;
    EXPECT_EQ(build().calls(), (std::vector<std::string>{"setVarargin", "setSignatureOption"}));
}

TEST_F(SignatureBuilding, GeneratedNamesCountFromOneInPlainDecimal) {
    method->inputTypes = {makeId("double"), makeId("char"), makeId("logical")};
    method->outputTypes.assign(12, makeId("double"));

    const auto& signature = build();
    EXPECT_EQ(names(signature.inputs()), (std::vector<std::string>{"Input_1", "Input_2", "Input_3"}));
    EXPECT_EQ(signature.inputs()[1].type, makeId("char"));
    EXPECT_EQ(signature.inputs()[2].type, makeId("logical"));
    ASSERT_EQ(signature.outputs().size(), 12u);
    EXPECT_EQ(signature.outputs()[0].name.str(), "Output_1");
    EXPECT_EQ(signature.outputs()[9].name.str(), "Output_10");
    EXPECT_EQ(signature.outputs()[11].name.str(), "Output_12");
}

TEST_F(SignatureBuilding, NamingIsAllOrNothingPerDirectionAndTypesDecideTheCount) {
    method->inputTypes = {makeId("double"), makeId("double")};
    method->inputNames = {"a", "b", "ignored"};
    method->outputTypes = {makeId("double"), makeId("double")};
    const auto& namedInputs = build();
    EXPECT_EQ(names(namedInputs.inputs()), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(names(namedInputs.outputs()), (std::vector<std::string>{"Output_1", "Output_2"}));

    method = createMethod("g");
    method->inputTypes = {makeId("double")};
    method->outputTypes = {makeId("double")};
    method->outputNames = {"y"};
    const auto& namedOutputs = build();
    EXPECT_EQ(names(namedOutputs.inputs()), std::vector<std::string>{"Input_1"});
    EXPECT_EQ(names(namedOutputs.outputs()), std::vector<std::string>{"y"});
}

TEST_F(SignatureBuilding, AnEmptyNameIsInternedRatherThanLeftAsTheEmptyId) {
    method->inputTypes = {makeId("double")};
    method->inputNames = {""};

    const COSId name = build().inputs().at(0).name;
    EXPECT_FALSE(name.isEmpty());
    EXPECT_EQ(name, makeId(""));
}

}  // namespace
