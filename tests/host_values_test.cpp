// The reference host's arrays: shared ownership, deferred extents and reshaping.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "convenience/values.hpp"
#include "host/array.hpp"
#include "host/reference/reference_host.hpp"
#include "host/value.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
namespace values = orrery::convenience::values;
using reference::createArray;

class Values : public orrery::testing::HostTest {};

TEST_F(Values, SharedArraysLiveUntilTheLastOwnerWhicheverGoesFirst) {
    COSValue first = values::makeDouble(2.5);
    hxArray* array = first.content();
    {
        COSValue second = first;
        COSValue third = second;
        EXPECT_EQ(array->shareCount(), 2);
        first = COSValue();  // the original owner goes first
        second = COSValue();
        EXPECT_EQ(array->shareCount(), 0);
        EXPECT_EQ(reference::liveCounts().arrays, 1);
        EXPECT_DOUBLE_EQ(values::readDouble(third).value(), 2.5);
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
    EXPECT_EQ(hxGetLogicals(values::makeDouble(1).content()), nullptr);
    EXPECT_THROW_MESSAGE(createArray({1}, hxCELL_CLASS), std::invalid_argument,
                         "the reference host makes logical, char, double, object and string arrays");

    auto* cls = reference::defineClass("pkg.Thing");
    COSInterfacePtr object = reference::createObject(cls);
    COSValue objects = values::makeObjects(std::vector<COSInterfacePtr>{object, object});
    EXPECT_EQ(::array::getElement(objects.content(), 1, ::array::ReturnDeletedHandle).get(), object.get());
    EXPECT_THROW(::array::getElement(objects.content(), 2, ::array::ReturnDeletedHandle), std::out_of_range);
}

TEST_F(Values, ArrayErrorsAreHostErrors) {
    EXPECT_HOST_ERROR(hxErrMsg(hxSizeMismatch), "orrery:array:SizeMismatch",
                      "Arrays have incompatible sizes for this operation.");
    EXPECT_HOST_ERROR(hxErrMsg(static_cast<hxErrorMessage>(3)), "orrery:array:Unknown", "Array error 3.");
}

}  // namespace
