// The reference host itself: what the library relies on must hold here, or every other
// test would prove nothing.
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "host/array.hpp"
#include "host/enumeration.hpp"
#include "host/exception.hpp"
#include "host/interned.hpp"
#include "host/reference/reference_host.hpp"
#include "host/value.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using foundation::core::except::IMsgIDException;

class Host : public orrery::testing::HostTest {};

TEST(Interning, EqualTextGivesOnePointerAcrossThreads) {
    EXPECT_EQ(internal::makeInterned("pkg.Point"), internal::makeInterned(std::string("pkg.") + "Point"));
    EXPECT_NE(internal::makeInterned("a"), internal::makeInterned("b"));
    EXPECT_EQ(COSId().get(), nullptr);
    EXPECT_NE(internal::makeInterned(""), nullptr);  // interned empty text is not the empty id

    std::vector<std::set<const std::string*>> seen(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) seen[t].insert(internal::makeInterned("n" + std::to_string(i % 100)));
        });
    for (auto& thread : threads) thread.join();
    for (int t = 1; t < 4; ++t) EXPECT_EQ(seen[t], seen[0]);
    EXPECT_EQ(seen[0].size(), 100u);
}

TEST(Errors, CarryComponentIdAndCatalogueTextWithArguments) {
    using namespace foundation::core::except;
    struct Tag;
    try {
        throw Exception<Tag>(
            Message{{std::string("pkg.Widget")}, "LUMEN:orrery_convenience", "ConstructorNotSupported"});
    } catch (const std::exception& error) {
        auto* identified = dynamic_cast<const IMsgIDException*>(&error);
        ASSERT_NE(identified, nullptr);
        EXPECT_STREQ(identified->get_error_id(), "LUMEN:orrery_convenience:ConstructorNotSupported");
        EXPECT_STREQ(error.what(), "Objects of class 'pkg.Widget' cannot be constructed.");
        EXPECT_EQ(identified->GetUnicodeMessageTxt(), u"Objects of class 'pkg.Widget' cannot be constructed.");
    }
}

TEST_F(Host, ArrayErrorsAreHostErrors) {
    EXPECT_HOST_ERROR(hxErrMsg(hxSizeMismatch), "orrery:array:SizeMismatch",
                      "Arrays have incompatible sizes for this operation.");
}

TEST_F(Host, DeferredExtentsAppearOnlyWhenCompleted) {
    matrix::ArrayPtr array(reference::createArrayWithDeferredExtents({2, 3}, hxDOUBLE_CLASS));
    EXPECT_TRUE(array->hasOpaqueDimensions());
    EXPECT_EQ(array->numberOfDimensions(), 0u);
    array->_complete_opaque_dimensions();
    ASSERT_EQ(array->numberOfDimensions(), 2u);
    EXPECT_EQ(array->dimensions()[1], 3u);
    EXPECT_EQ(array->numberOfElements(), 6u);

    std::uint64_t column[] = {6, 1};
    ::array::resize(array, 2, column);
    EXPECT_EQ(array->dimensions()[0], 6u);
}

TEST_F(Host, SharedArraysLiveUntilTheLastOwner) {
    COSValue first = reference::makeDouble(2.5);
    {
        COSValue second = first;
        EXPECT_EQ(first.content()->shareCount(), 1);
    }
    EXPECT_EQ(first.content()->shareCount(), 0);
    EXPECT_EQ(reference::liveCounts().arrays, 1);
    EXPECT_DOUBLE_EQ(reference::toDouble(first), 2.5);
}

TEST_F(Host, LogicalArraysAndObjectElements) {
    matrix::ArrayPtr logicals(matrix::detail::do_create_numeric({1, 3}, hxLOGICAL_CLASS, hxREAL));
    hxGetLogicals(logicals.get())[2] = true;
    EXPECT_FALSE(hxIsScalar(logicals.get()));
    EXPECT_TRUE(hxGetLogicals(logicals.get())[2]);

    auto* cls = reference::defineClass("pkg.Thing");
    COSInterfacePtr object = reference::createObject(cls);
    COSValue objects = reference::makeObjects({object, object});
    EXPECT_EQ(::array::getElement(objects.content(), 1, ::array::ReturnDeletedHandle).get(), object.get());
    EXPECT_THROW(::array::getElement(objects.content(), 2, ::array::ReturnDeletedHandle), std::out_of_range);
}

TEST_F(Host, EnumerationBodiesAreSharedAndFreedOnce) {
    int a = 0, b = 0;
    auto* pa = reinterpret_cast<COSInterface*>(&a);
    auto* pb = reinterpret_cast<COSInterface*>(&b);
    Enumeration<COSInterface*> empty;
    EXPECT_FALSE(empty.hasBody());
    EXPECT_TRUE(empty.empty());
    {
        Enumeration<COSInterface*> items{pa, pb};
        Enumeration<COSInterface*> copy = items;
        EXPECT_EQ(reference::liveCounts().heapBlocks, 1);
        ASSERT_EQ(copy.size(), 2u);
        EXPECT_EQ(copy[1], pb);
    }
    EXPECT_EQ(reference::liveCounts().heapBlocks, 0);
}

}  // namespace
