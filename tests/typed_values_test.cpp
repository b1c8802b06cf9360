// The value helpers: host values made and read through the host declarations only.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "convenience/values.hpp"
#include "support/host_fixture.hpp"

using namespace orrery;
using namespace orrery::convenience::values;

namespace {

class Values : public orrery::testing::HostTest {};

TEST_F(Values, MadeValuesReadBack) {
    EXPECT_EQ(readDouble(makeDouble(-2.5)), -2.5);
    EXPECT_EQ(readLogical(makeLogical(true)), true);
    EXPECT_EQ(readText(makeString("h\xC3\xA9llo \xF0\x9F\x8C\x8D")), "h\xC3\xA9llo \xF0\x9F\x8C\x8D");
    EXPECT_EQ(readText16(makeString(u"\u00e9\U0001F30D")), u"\u00e9\U0001F30D");
    EXPECT_EQ(readText(makeChars("abc")), "abc");
    EXPECT_EQ(readText(makeChars("")), "");
    EXPECT_EQ(readDoubles(makeDoubles(std::vector<double>{1, 2, 3})), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(readDoubles(makeDoubles({})), std::vector<double>{});
    EXPECT_EQ(readLogicals(makeLogicals({true, false})), (std::vector<bool>{true, false}));
    EXPECT_TRUE(isEmptyValue(makeEmpty()) && isEmptyValue(COSValue()) && !isEmptyValue(makeChars("")));

    auto* cls = reference::defineClass("pkg.Thing");
    COSInterfacePtr thing = reference::createObject(cls);
    EXPECT_EQ(readObject(makeObject(thing)), thing);
    EXPECT_EQ(peekObject(makeObject(thing)), thing.get());
    const COSValue row = makeObjects(std::vector<COSInterfacePtr>{thing, thing});
    EXPECT_EQ(row.content()->numberOfElements(), 2u);
    EXPECT_FALSE(readObject(row));  // not one object
}

TEST_F(Values, ReadersRefuseOtherShapesAndKinds) {
    EXPECT_FALSE(readDouble(makeLogical(true)));
    EXPECT_FALSE(readDouble(makeDoubles(std::vector<double>{1, 2})));
    EXPECT_FALSE(readDouble(COSValue(reference::createArray({1, 1}, hxDOUBLE_CLASS, hxCOMPLEX))));
    EXPECT_FALSE(readLogical(makeDouble(1)));
    EXPECT_FALSE(readObject(makeDouble(1)));
    EXPECT_FALSE(readDoubles(COSValue(reference::createArray({2, 2}, hxDOUBLE_CLASS))));
    EXPECT_EQ(readDoubles(COSValue(reference::createArrayWithDeferredExtents({3, 1}, hxDOUBLE_CLASS)))->size(), 3u);
    EXPECT_FALSE(readText(makeDouble(1)));
    EXPECT_FALSE(readText(reference::makeStringArray({1, 1}, {std::nullopt})));
    EXPECT_FALSE(readText(reference::makeStringArray({1, 2}, {u"a", u"b"})));
    EXPECT_FALSE(readText(COSValue()));
}

TEST_F(Values, DescriptionsNameKindShapeAndShortValues) {
    auto* cls = reference::defineClass("pkg.Thing");
    const std::vector<std::pair<COSValue, std::string>> cases = {
        {COSValue(), "no value"},
        {makeDouble(2.5), "a double scalar (2.5)"},
        {makeLogical(false), "a logical scalar (false)"},
        {makeString("hi"), "a string scalar (\"hi\")"},
        {reference::makeStringArray({1, 1}, {std::nullopt}), "a missing string"},
        {makeChars("abc"), "a 1-by-3 char array ('abc')"},
        {makeChars(std::string(50, 'x')), "a 1-by-50 char array ('" + std::string(40, 'x') + "...')"},
        {makeDoubles(std::vector<double>{1, 2}), "a 1-by-2 double array"},
        {makeEmpty(), "an empty 0-by-0 double array"},
        {COSValue(reference::createArray({1, 1}, hxDOUBLE_CLASS, hxCOMPLEX)), "a complex double scalar"},
        {makeObject(reference::createObject(cls)), "a pkg.Thing object"},
        {reference::makeStringArray({2, 1}, {u"a", u"b"}), "a 2-by-1 string array"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(describeValue(value), text);
}

// The listing form: what a user would type back, or the kind alone for longer arrays.
TEST_F(Values, DisplayShowsShortTextForEachKind) {
    auto* cls = reference::defineClass("pkg.Point");
    COSInterfacePtr object = reference::createObject(cls);
    const std::vector<std::pair<COSValue, std::string>> cases = {
        {makeDouble(3.5), "3.5"},
        {makeDouble(-0.25), "-0.25"},
        {makeDouble(1e-7), "1e-07"},
        {makeLogical(false), "false"},
        {makeLogicals({true, false}), "<logical array>"},
        {makeChars("h\xC3\xA9"), "'h\xC3\xA9'"},
        {makeChars(""), "''"},
        {makeString("abc"), "\"abc\""},
        {reference::makeStringArray({1, 1}, {std::nullopt}), "<missing>"},
        {makeStrings(std::vector<std::string>{"a", "b"}), "<string array>"},
        {makeObject(object), "<pkg.Point object>"},
        {makeObject(COSInterfacePtr()), "<object>"},
        {makeObjects(std::vector<COSInterfacePtr>{object, object}), "<object array>"},
        {makeEmpty(), "[]"},
        {makeDoubles(std::vector<double>{1, 2}), "<double array>"},
        {COSValue(reference::createArray({1, 1}, hxDOUBLE_CLASS, hxCOMPLEX)), "<complex double>"},
        {COSValue(), "<no value>"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(displayValue(value), text);
}

}  // namespace
