// The reference host's values and arrays: making and reading values, their text for
// people, shared ownership, deferred extents and reshaping.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/array.hpp"
#include "host/reference/reference_host.hpp"
#include "host/value.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using reference::createArray;
using reference::describe;

class Values : public orrery::testing::HostTest {};

TEST_F(Values, DescribeGivesShortTextForEachKind) {
    auto* cls = reference::defineClass("pkg.Point");
    {
        COSInterfacePtr object = reference::createObject(cls);
        struct Case {
            COSValue value;
            const char* text;
        };
        const Case cases[] = {
            {reference::makeDouble(3.5), "3.5"},
            {reference::makeDouble(-0.25), "-0.25"},
            {reference::makeDouble(100), "100"},
            {reference::makeDouble(0), "0"},
            {reference::makeLogical(true), "true"},
            {reference::makeLogical(false), "false"},
            {COSValue(createArray({1, 3}, hxLOGICAL_CLASS)), "<logical array>"},
            {reference::makeChars("h\xC3\xA9"), "'h\xC3\xA9'"},
            {reference::makeChars(""), "''"},
            {reference::makeObjects({object}), "<pkg.Point object>"},
            {reference::makeObjects({object, object}), "<object array>"},
            {reference::makeObjects({COSInterfacePtr()}), "<object>"},
            {reference::makeObjects({}), "[]"},
            {COSValue(createArray({0, 0}, hxDOUBLE_CLASS)), "[]"},
            {COSValue(createArray({1, 2}, hxDOUBLE_CLASS)), "<double array>"},
            {COSValue(), "<no value>"},
        };
        for (const Case& c : cases) EXPECT_EQ(describe(c.value), c.text);
    }
}

TEST_F(Values, ReadersTakeOnlyTheirOwnKind) {
    EXPECT_EQ(reference::toDouble(reference::makeDouble(2.5)), 2.5);
    EXPECT_EQ(reference::toText(reference::makeChars("z\xE2\x82\xAC")), "z\xE2\x82\xAC");  // UTF-8 both ways

    EXPECT_THROW_MESSAGE(reference::toDouble(reference::makeChars("1")), std::invalid_argument,
                         "the value is not a double");
    EXPECT_THROW_MESSAGE(reference::toDouble(COSValue(createArray({1, 2}, hxDOUBLE_CLASS))), std::invalid_argument,
                         "the value is not a double scalar");
    EXPECT_THROW_MESSAGE(reference::toText(reference::makeDouble(1)), std::invalid_argument, "the value is not text");
    EXPECT_THROW_MESSAGE(reference::toObject(reference::makeLogical(true)), std::invalid_argument,
                         "the value is not an object");
    EXPECT_THROW_MESSAGE(reference::toObject(reference::makeObjects({COSInterfacePtr(), COSInterfacePtr()})),
                         std::invalid_argument, "the value is not one object");
}

TEST_F(Values, SharedArraysLiveUntilTheLastOwnerWhicheverGoesFirst) {
    COSValue first = reference::makeDouble(2.5);
    hxArray* array = first.content();
    {
        COSValue second = first;
        COSValue third = second;
        EXPECT_EQ(array->shareCount(), 2);
        first = COSValue();  // the original owner goes first
        second = COSValue();
        EXPECT_EQ(array->shareCount(), 0);
        EXPECT_EQ(reference::liveCounts().arrays, 1);
        EXPECT_DOUBLE_EQ(reference::toDouble(third), 2.5);
    }
    EXPECT_EQ(reference::liveCounts().arrays, 0);

    // The host's deleter gives back a share, and frees only an unshared array.
    matrix::ArrayPtr owner(createArray({1, 1}, hxDOUBLE_CLASS));
    owner->addShare();
    hxArray* raw = owner.get();
    owner.reset();
    EXPECT_EQ(reference::liveCounts().arrays, 1);
    EXPECT_EQ(raw->shareCount(), 0);
    matrix::ArrayPtr{raw}.reset();
    EXPECT_EQ(reference::liveCounts().arrays, 0);
}

TEST_F(Values, DeferredExtentsAppearOnlyWhenCompleted) {
    matrix::ArrayPtr array(reference::createArrayWithDeferredExtents({2, 3}, hxDOUBLE_CLASS));
    EXPECT_TRUE(array->hasOpaqueDimensions());
    EXPECT_EQ(array->numberOfDimensions(), 0u);
    EXPECT_EQ(array->numberOfElements(), 6u);
    for (int twice = 0; twice < 2; ++twice) {
        array->_complete_opaque_dimensions();
        EXPECT_FALSE(array->hasOpaqueDimensions());
        ASSERT_EQ(array->numberOfDimensions(), 2u);
        EXPECT_EQ(array->dimensions()[1], 3u);
    }

    // A reshape completes deferred extents first, and keeps the element count.
    matrix::ArrayPtr deferred(reference::createArrayWithDeferredExtents({2, 3}, hxLOGICAL_CLASS));
    const std::uint64_t column[] = {6, 1};
    ::array::resize(deferred, 2, column);
    EXPECT_FALSE(deferred->hasOpaqueDimensions());
    EXPECT_EQ(std::vector<std::uint64_t>(deferred->dimensions(), deferred->dimensions() + 2),
              (std::vector<std::uint64_t>{6, 1}));
    const std::uint64_t tooMany[] = {7, 1};
    EXPECT_THROW_MESSAGE(::array::resize(deferred, 2, tooMany), std::invalid_argument,
                         "a reshape must keep the element count");
    EXPECT_EQ(deferred->dimensions()[0], 6u);
}

TEST_F(Values, LogicalArraysAndObjectElements) {
    matrix::ArrayPtr logicals(matrix::detail::do_create_numeric({1, 3}, hxLOGICAL_CLASS, hxREAL));
    hxGetLogicals(logicals.get())[2] = true;
    EXPECT_FALSE(hxIsScalar(logicals.get()));
    EXPECT_TRUE(hxGetLogicals(logicals.get())[2]);
    EXPECT_EQ(hxGetLogicals(reference::makeDouble(1).content()), nullptr);
    EXPECT_THROW_MESSAGE(createArray({1}, hxCELL_CLASS), std::invalid_argument,
                         "the reference host makes logical, char, double, object and string arrays");

    auto* cls = reference::defineClass("pkg.Thing");
    COSInterfacePtr object = reference::createObject(cls);
    COSValue objects = reference::makeObjects({object, object});
    EXPECT_EQ(::array::getElement(objects.content(), 1, ::array::ReturnDeletedHandle).get(), object.get());
    EXPECT_THROW(::array::getElement(objects.content(), 2, ::array::ReturnDeletedHandle), std::out_of_range);
}

TEST_F(Values, ArrayErrorsAreHostErrors) {
    EXPECT_HOST_ERROR(hxErrMsg(hxSizeMismatch), "orrery:array:SizeMismatch",
                      "Arrays have incompatible sizes for this operation.");
    EXPECT_HOST_ERROR(hxErrMsg(static_cast<hxErrorMessage>(3)), "orrery:array:Unknown", "Array error 3.");
}

}  // namespace
