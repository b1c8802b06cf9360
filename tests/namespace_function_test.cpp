#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using ::testing::_;
using NamespaceFunctionTest = orrery::testing::HostTest;

// Attaches the function to a new package and returns what the package received.
COSMethodInfo* attachToNewPackage(const std::shared_ptr<COSNamespaceFunctionInfoStruct>& function) {
    auto* package = reference::definePackage("pkg");
    function->attach(package);
    EXPECT_EQ(package->entries().size(), 1u);
    return package->entries().back().functionInfo;
}

TEST_F(NamespaceFunctionTest, AttachHandsOneAdaptorWithFixedAnswersToThePackage) {
    auto function = createFunction();
    auto* package = reference::definePackage("pkg");
    function->attach(package);
    ASSERT_EQ(package->entries().size(), 1u);
    const reference::PackageEntry& entry = package->entries()[0];
    EXPECT_EQ(entry.visibility, 0);
    EXPECT_EQ(entry.kind, 2);
    COSMethodInfo* info = entry.functionInfo;
    ASSERT_NE(info, nullptr);

    EXPECT_STREQ(info->getName(), "");
    EXPECT_EQ(info->getAccess(), COSAccessPublic);
    EXPECT_EQ(info->getExtendedAccess(), ExtendedMemberAccess(COSAccessPublic));
    std::vector<bool> attributes;
    for (auto query : {&COSMethodInfo::isAttribute1, &COSMethodInfo::isAttribute2, &COSMethodInfo::isAttribute3,
                       &COSMethodInfo::isAttribute4, &COSMethodInfo::isAttribute5, &COSMethodInfo::isAttribute6,
                       &COSMethodInfo::isAttribute7, &COSMethodInfo::isAttribute8, &COSMethodInfo::isAttribute9})
        attributes.push_back((info->*query)());
    EXPECT_EQ(attributes, (std::vector<bool>{false, false, false, false, true, true, true, false, false}));
    EXPECT_FALSE(info->isLookupScope());  // the host's own answer

    // Texts are read at every query.
    function->name = "f";
    function->description = "short";
    function->detailedDescription = "long";
    EXPECT_STREQ(info->getName(), "f");
    EXPECT_STREQ(info->getDescription(), "short");
    EXPECT_STREQ(info->getDetailedDescription(), "long");
}

TEST_F(NamespaceFunctionTest, SignatureIsBuiltOnceWithGeneratedNamesAndShared) {
    auto function = createFunction("f");
    function->inputTypes = {makeId("double"), makeId("char")};
    function->outputTypes = {makeId("double")};
    function->outputNames = {"sum"};
    function->hasVarargin = true;
    function->signatureOption = 7;
    COSMethodInfo* info = attachToNewPackage(function);

    const reference::Signature& signature = reference::asSignature(info->getSignature());
    ASSERT_EQ(signature.inputs().size(), 2u);
    EXPECT_EQ(signature.inputs()[0].name, makeId("Input_1"));
    EXPECT_EQ(signature.inputs()[1].type, makeId("char"));
    EXPECT_EQ(signature.inputs()[1].name, makeId("Input_2"));
    EXPECT_EQ(signature.outputs()[0].name, makeId("sum"));
    EXPECT_TRUE(signature.hasVarargin());
    EXPECT_FALSE(signature.hasVarargout());
    EXPECT_EQ(signature.option(), 7);

    function->inputTypes.clear();
    EXPECT_EQ(function->getFunctionSignature().get(), &signature);
    EXPECT_EQ(info->getSignature(), &signature);
    COSNamespaceFunctionInfoStruct copy = *function;
    EXPECT_EQ(copy.getFunctionSignature().get(), &signature);
}

TEST_F(NamespaceFunctionTest, FailedSignatureBuildNamesTheFunctionAndIsTriedAgain) {
    auto function = createFunction("solve");
    function->inputTypes = {makeId("double"), makeId("double")};
    function->inputNames = {"a"};
    COSMethodInfo* info = attachToNewPackage(function);
    EXPECT_THROW_MESSAGE(info->getSignature(), std::invalid_argument,
                         "function \"solve\": 1 input name for 2 input types (give one name per type, or none for "
                         "generated names)");
    EXPECT_EQ(function->cachedSignature, nullptr);
    EXPECT_EQ(reference::liveCounts().signatures, 0);

    // Nothing was cached, so the next request builds from the record as it is then.
    function->inputNames.push_back("b");
    const reference::Signature& signature = reference::asSignature(info->getSignature());
    ASSERT_EQ(signature.inputs().size(), 2u);
    EXPECT_EQ(signature.inputs()[1].name, makeId("b"));
    EXPECT_EQ(function->cachedSignature.get(), info->getSignature());
}

TEST_F(NamespaceFunctionTest, InvokeHandsTheHostsArgumentsToTheHookAndNeedsOne) {
    auto function = createFunction("f");
    COSMethodInfo* info = attachToNewPackage(function);
    COSValue inputs[2] = {values::makeDouble(1), values::makeDouble(2)};
    COSValue outputs[2];
    int outputCount = 2;

    info->invoke(reference::client(), outputCount, outputs, 2, inputs);  // the default touches nothing
    EXPECT_EQ(outputCount, 2);
    EXPECT_TRUE(outputs[0].isEmpty());

    ::testing::MockFunction<void(const COSClient*, int&, COSValue*, int, const COSValue*)> hook;
    EXPECT_CALL(hook, Call(reference::client(), _, outputs, 2, inputs))
        .WillOnce([](const COSClient*, int& count, COSValue* out, int, const COSValue* in) {
            out[0] = in[1];
            count = 1;
        });
    function->invokeFcn = hook.AsStdFunction();
    info->invoke(reference::client(), outputCount, outputs, 2, inputs);
    EXPECT_EQ(outputCount, 1);
    EXPECT_EQ(values::readDouble(outputs[0]).value(), 2.0);

    function->invokeFcn = [](const COSClient*, int&, COSValue*, int, const COSValue*) {
        throw std::runtime_error("from the hook");
    };
    EXPECT_THROW_MESSAGE(info->invoke(reference::client(), outputCount, outputs, 2, inputs), std::runtime_error,
                         "from the hook");
    function->invokeFcn = nullptr;
    EXPECT_THROW(info->invoke(reference::client(), outputCount, outputs, 2, inputs), std::bad_function_call);
}

TEST_F(NamespaceFunctionTest, NamespaceAttachListsTheRecordAndUnownedRecordsChangeNothing) {
    auto ns = createNamespace("ns");
    auto function = createFunction("f");
    function->attach(ns);
    EXPECT_EQ(ns->functions, std::vector<std::shared_ptr<COSNamespaceFunctionInfoStruct>>{function});

    COSNamespaceFunctionInfoStruct unowned(*function);  // a copy is owned by no one
    auto* package = reference::definePackage("pkg");
    EXPECT_THROW(unowned.attach(package), std::bad_weak_ptr);
    EXPECT_THROW(unowned.attach(ns), std::bad_weak_ptr);
    EXPECT_TRUE(package->entries().empty());
    EXPECT_EQ(ns->functions.size(), 1u);
    EXPECT_EQ(reference::liveCounts().methodInfos, 0);  // the adaptor storage went back

    EXPECT_THROW(function->attach(static_cast<COSPackage*>(nullptr)), std::invalid_argument);
    EXPECT_THROW(function->attach(std::shared_ptr<COSNamespaceInfoStruct>()), std::invalid_argument);
}

}  // namespace
