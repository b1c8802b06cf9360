#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "convenience/string_conversion.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using namespace std::string_literals;

constexpr const char* kNotTextId = "LUMEN:string:MustBeStringScalarOrCharacterVector";
constexpr const char* kNotTextMessage = "Value must be a string scalar or a character vector.";
constexpr const char* kMissingId = "LUMEN:string:MissingNotSupported";
constexpr const char* kMissingMessage = "A missing string cannot be converted to text.";

class StringConversionTest : public orrery::testing::HostTest {};

std::string utf8(const COSValue& value) {
    return ConvertCOSValueToCppValueImpl<std::string>(value, COSId(), Attribute<2, 2, 0>());
}

std::u16string utf16(const COSValue& value) {
    return ConvertCOSValueToCppValueImpl<std::u16string>(value, makeId("ignored"), Attribute<2, 2, 0>());
}

TEST_F(StringConversionTest, CharArraysOfAnyShapeGiveTheirUnitsInLinearOrder) {
    struct Case {
        std::vector<std::uint64_t> extents;
        std::u16string units;
    };
    const std::vector<Case> cases = {{{1, 5}, u"hello"}, {{3, 2}, u"adbecf"}, {{5, 1}, u"colum"},
                                     {{0, 0}, u""},      {{1, 0}, u""},       {{2, 2, 2}, u"abcdefgh"}};
    for (const Case& c : cases) {
        COSValue value = reference::makeCharArray(c.extents, c.units);
        EXPECT_EQ(utf16(value), c.units);
        EXPECT_EQ(utf8(value), std::string(c.units.begin(), c.units.end()));
    }
}

TEST_F(StringConversionTest, DeferredExtentsOfACharArrayAreCompletedFirst) {
    COSValue value(reference::createArrayWithDeferredExtents({1, 3}, hxCHAR_CLASS));
    std::memcpy(value.content()->data(), u"abc", 3 * sizeof(char16_t));
    EXPECT_EQ(utf16(value), u"abc");
}

TEST_F(StringConversionTest, AStringScalarGivesItsText) {
    EXPECT_EQ(utf8(values::makeString(u"plain")), "plain");
    EXPECT_EQ(utf16(values::makeString(u"")), u"");
    EXPECT_EQ(utf8(reference::makeStringArray({1, 1, 1}, {u"three dims"})), "three dims");
}

TEST_F(StringConversionTest, NonAsciiAndZeroUnitsSurviveBothConversions) {
    // é, €, a surrogate pair (U+1F600), zero units inside and at the end.
    const std::u16string units = u"a\u00e9\0\u20ac\U0001F600z\0"s;
    const std::string bytes = "a\xC3\xA9\0\xE2\x82\xAC\xF0\x9F\x98\x80z\0"s;
    for (const COSValue& value : {values::makeString(units), reference::makeCharArray({1, units.size()}, units)}) {
        EXPECT_EQ(utf16(value), units);
        EXPECT_EQ(utf8(value), bytes);
    }
    // A lone surrogate keeps its unit in UTF-16 and becomes U+FFFD in UTF-8.
    const std::u16string lone = u"x\xD800y"s;
    EXPECT_EQ(utf16(values::makeString(lone)), lone);
    EXPECT_EQ(utf8(values::makeString(lone)), "x\xEF\xBF\xBDy");
}

TEST_F(StringConversionTest, AMissingStringIsRefused) {
    COSValue missing = reference::makeStringArray({1, 1}, {std::nullopt});
    EXPECT_HOST_ERROR(utf8(missing), kMissingId, kMissingMessage);
    EXPECT_HOST_ERROR(utf16(missing), kMissingId, kMissingMessage);
    EXPECT_THROW(utf8(missing), MissingNotSupportedError);
}

TEST_F(StringConversionTest, AnythingButOneStringOrCharsIsRefused) {
    std::vector<COSValue> refused;
    refused.emplace_back();  // no array at all
    refused.push_back(reference::makeStringArray({1, 2}, {u"one", u"two"}));
    refused.push_back(reference::makeStringArray({0, 0}, {}));
    refused.push_back(reference::makeStringArray({2, 1}, {std::nullopt, std::nullopt}));  // not missing: not one
    refused.push_back(values::makeDouble(3));
    refused.push_back(values::makeLogical(true));
    refused.push_back(reference::makeObjectArray({1, 1}, {reference::createObject(nullptr)}));
    const long arrays = reference::liveCounts().arrays;
    for (const COSValue& value : refused) {
        EXPECT_HOST_ERROR(utf8(value), kNotTextId, kNotTextMessage);
        EXPECT_HOST_ERROR(utf16(value), kNotTextId, kNotTextMessage);
    }
    EXPECT_EQ(reference::liveCounts().arrays, arrays);
    EXPECT_THROW(utf16(refused[1]), MustBeStringScalarOrCharacterVectorError);
}

TEST_F(StringConversionTest, ErrorsCarryNoArgumentsAndNameTheirComponent) {
    try {
        utf8(values::makeDouble(1));
        FAIL() << "no error";
    } catch (const MustBeStringScalarOrCharacterVectorError& error) {
        EXPECT_TRUE(error.message().arguments.empty());
        EXPECT_EQ(error.message().component, "LUMEN:string");
        EXPECT_EQ(error.message().id, "MustBeStringScalarOrCharacterVector");
    }
}

TEST_F(StringConversionTest, TheValueIsBorrowedNotTaken) {
    COSValue value = values::makeString(u"kept");
    EXPECT_EQ(utf8(value), "kept");
    EXPECT_EQ(value.content()->shareCount(), 0);
    EXPECT_EQ(utf16(value), u"kept");
    EXPECT_EQ(reference::liveCounts().strings, 1);
}

TEST_F(StringConversionTest, GetStringViewsTheArraysOwnElements) {
    COSValue value = reference::makeStringArray({2, 2}, {u"a", std::nullopt, u"c", u"d"});
    EXPECT_TRUE(Korvane::String::isString(value.content()));
    EXPECT_FALSE(Korvane::String::isString(nullptr));
    EXPECT_FALSE(Korvane::String::isString(values::makeChars("a").content()));
    Korvane::String::String strings = Korvane::String::getString(value.content());
    ASSERT_EQ(strings.getNumberOfElements(), 4u);
    EXPECT_EQ(strings.begin(), value.content()->data());
    EXPECT_EQ(strings[0]->text, u"a");
    EXPECT_EQ(strings[1], nullptr);
    EXPECT_EQ(strings[3]->text, u"d");
    EXPECT_THROW(Korvane::String::getString(values::makeDouble(1).content()), std::invalid_argument);
}

}  // namespace
