// Every default conversion of the typed layer, both ways: a function that returns its
// input, called through the host, must give back what it was given, and refuse what does
// not convert with the argument's expected kind.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "convenience/typed/typed.hpp"
#include "convenience/values.hpp"
#include "orrery_testkit/testkit.hpp"
#include "support/host_fixture.hpp"

using namespace orrery;
using namespace orrery::convenience::typed;
using namespace orrery::convenience::values;

namespace kit = orrery::testkit;

namespace {

template <class T>
void echo(NamespaceBuilder& space, const std::string& name) {
    space.function(name, [](T value) { return value; }, {"value"});
}

class Conversion : public orrery::testing::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        auto space = defineNamespace("conv");
        echo<double>(space, "double");
        echo<float>(space, "float");
        echo<int>(space, "int");
        echo<std::int64_t>(space, "int64");
        echo<std::uint8_t>(space, "uint8");
        echo<bool>(space, "bool");
        echo<std::string>(space, "string");
        echo<std::u16string>(space, "u16string");
        echo<std::vector<double>>(space, "doubles");
        echo<std::vector<int>>(space, "ints");
        echo<std::vector<bool>>(space, "bools");
        echo<std::optional<double>>(space, "maybe");
        echo<std::optional<std::string>>(space, "maybeText");
        echo<COSValue>(space, "any");
        space.function("three", [] { return std::tuple{1, true, std::string("x")}; });
        space.publish();
    }

    static COSValue call(const std::string& function, const COSValue& input) {
        return kit::invoke<COSValue>("conv." + function, input);
    }
};

TEST_F(Conversion, ValuesCrossBothWaysWithTheirTypeIds) {
    struct Case {
        const char* function;
        COSValue input;
        const char* type;
        std::string output;
    };
    const std::vector<Case> cases = {
        {"double", makeDouble(2.5), "double scalar", "a double scalar (2.5)"},
        {"float", makeDouble(0.5), "double scalar", "a double scalar (0.5)"},
        {"int", makeDouble(-3), "double scalar", "a double scalar (-3)"},
        {"int64", makeDouble(9007199254740992.0), "double scalar", "a double scalar (9007199254740992)"},
        {"uint8", makeDouble(255), "double scalar", "a double scalar (255)"},
        {"bool", makeLogical(true), "logical scalar", "a logical scalar (true)"},
        {"string", makeString("h\xC3\xA9"), "string scalar", "a string scalar (\"h\xC3\xA9\")"},
        {"string", makeChars("chars"), "string scalar", "a string scalar (\"chars\")"},
        {"u16string", makeString(u"\U0001F30D"), "string scalar", "a string scalar (\"\xF0\x9F\x8C\x8D\")"},
        {"doubles", makeDoubles(std::vector<double>{1, 2}), "double vector", "a 1-by-2 double array"},
        {"doubles", COSValue(reference::createArray({3, 1}, hxDOUBLE_CLASS)), "double vector", "a 1-by-3 double array"},
        {"ints", makeDoubles(std::vector<double>{1, -2}), "double vector", "a 1-by-2 double array"},
        {"bools", makeLogicals({true, false, true}), "logical vector", "a 1-by-3 logical array"},
        {"maybe", makeEmpty(), "double scalar", "an empty 0-by-0 double array"},
        {"maybe", makeDouble(4), "double scalar", "a double scalar (4)"},
        {"maybeText", makeString(""), "string scalar", "a string scalar (\"\")"},
        {"any", makeLogical(false), "any", "a logical scalar (false)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kit::signature(std::string("conv.") + c.function),
                  std::string("(") + c.type + " value) -> (" + c.type + " Output_1)");
        EXPECT_EQ(describeValue(call(c.function, c.input)), c.output) << c.function;
    }
    EXPECT_EQ(kit::signature("conv.three"),
              "() -> (double scalar Output_1, logical scalar Output_2, string scalar Output_3)");
    EXPECT_EQ((kit::invoke<int, bool, std::string>("conv.three")), std::tuple(1, true, "x"));
}

TEST_F(Conversion, ValuesThatDoNotConvertAreRefusedWithWhatWasExpected) {
    const std::string int32 = "within the range of a 32-bit signed integer";
    const std::string uint8 = "a whole-number double scalar within the range of an 8-bit unsigned integer";
    const std::vector<std::tuple<const char*, COSValue, std::string, std::string>> cases = {
        {"double", makeDoubles(std::vector<double>{1, 2}), "a double scalar", "a 1-by-2 double array"},
        {"int", makeDouble(2.5), "a whole-number double scalar " + int32, "a double scalar (2.5)"},
        {"int", makeDouble(2147483648.0), "a whole-number double scalar " + int32, "a double scalar (2147483648)"},
        {"uint8", makeDouble(-1), uint8, "a double scalar (-1)"},
        {"int64", makeDouble(9223372036854775808.0),
         "a whole-number double scalar within the range of a 64-bit "
         "signed integer",
         "a double scalar (9223372036854775808)"},
        {"bool", makeDouble(1), "a logical scalar", "a double scalar (1)"},
        {"string", reference::makeStringArray({1, 1}, {std::nullopt}), "a string scalar or a character vector",
         "a missing string"},
        {"doubles", COSValue(reference::createArray({2, 2}, hxDOUBLE_CLASS)), "a double vector",
         "a 2-by-2 double array"},
        {"ints", makeDoubles(std::vector<double>{1, 2.5}), "a double vector of whole numbers " + int32,
         "a 1-by-2 double array"},
        {"maybe", makeString("x"), "a double scalar or []", "a string scalar (\"x\")"},
    };
    for (const auto& [function, input, expected, arrived] : cases)
        EXPECT_HOST_ERROR(
            call(function, input), "LUMEN:orrery_typed:BadInput",
            "Input 1 (value) of conv." + std::string(function) + " must be " + expected + ", not " + arrived + ".");
}

}  // namespace
