#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "convenience/string_array.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using Korvane::String::StringElement;
using Korvane::String::StringElementPtr;
using Korvane::String::detail::StringArrayVariant;
using ::testing::ElementsAre;
using ArrayPtr = kvboost::intrusive_ptr<StringArrayVariant>;
using Extents = std::vector<std::uint64_t>;

class StringArrayTest : public orrery::testing::HostTest {};

StringElementPtr text(const char16_t* units) { return StringElementPtr(new StringElement(units)); }

Extents extentsOf(const StringArrayVariant& array) {
    auto span = array.getDimensionsSpan();
    return Extents(span.begin(), span.end());
}

std::vector<const StringElement*> pointersIn(const StringArrayVariant& array) {
    std::vector<const StringElement*> out;
    for (const StringElementPtr& element : elementsOf(array)) out.push_back(element.get());
    return out;
}

ArrayPtr arrayOf(const Extents& extents) {
    ArrayPtr array(new StringArrayVariant());
    array->resize(extents);
    return array;
}

TEST_F(StringArrayTest, NewArrayHasNoExtentsNoElementsAndNoReferences) {
    StringArrayVariant array;
    EXPECT_EQ(array.refCount, 0u);
    EXPECT_TRUE(array.getDimensionsSpan().empty());
    EXPECT_EQ(array.getNumberOfElements(), 0u);
}

TEST_F(StringArrayTest, PushBackGrowsAColumnAndTakesThePointer) {
    ArrayPtr array = arrayOf({0, 1});
    StringElementPtr first = text(u"first");
    StringElementPtr second = text(u"second");
    const StringElement* firstRaw = first.get();
    const StringElement* secondRaw = second.get();
    array->push_back(std::move(first));
    array->push_back(std::move(second));
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(extentsOf(*array), (Extents{2, 1}));
    EXPECT_THAT(pointersIn(*array), ElementsAre(firstRaw, secondRaw));
    EXPECT_EQ(firstRaw->refCount.load(), 1u);

    array->push_back(nullptr);  // a missing string
    EXPECT_EQ(extentsOf(*array), (Extents{3, 1}));
    EXPECT_THAT(pointersIn(*array), ElementsAre(firstRaw, secondRaw, nullptr));
}

TEST_F(StringArrayTest, PushBackCountsOnlyInTheFirstExtent) {
    ArrayPtr array = arrayOf({1, 3});
    array->push_back(text(u"x"));
    EXPECT_EQ(array->getNumberOfElements(), 4u);
    EXPECT_EQ(extentsOf(*array), (Extents{2, 3}));
}

TEST_F(StringArrayTest, PushBackNeedsExtents) {
    ArrayPtr array(new StringArrayVariant());
    EXPECT_THROW_MESSAGE(array->push_back(text(u"lost")), std::logic_error,
                         "push_back on an array without extents: resize it first");
    EXPECT_EQ(array->getNumberOfElements(), 0u);
    EXPECT_EQ(reference::liveCounts().strings, 0);
}

TEST_F(StringArrayTest, ManyPushBacksKeepEveryElementInOrder) {
    ArrayPtr array = arrayOf({0, 1});
    std::vector<const StringElement*> pushed;
    for (int i = 0; i < 1000; ++i) {
        StringElementPtr element = i % 7 == 3 ? nullptr : text(u"s");
        pushed.push_back(element.get());
        array->push_back(std::move(element));
    }
    EXPECT_EQ(pointersIn(*array), pushed);
    EXPECT_EQ(extentsOf(*array), (Extents{1000, 1}));
}

// Room kept from a larger size is filled in place (the inline path); the append after it
// grows by 60% and keeps everything in order.
TEST_F(StringArrayTest, PushBackFillsKeptRoomThenGrows) {
    ArrayPtr array = arrayOf({4, 1});
    array->resize(Extents{0, 1});
    const StringElementPtr* storage = elementsOf(*array).data();
    StringElementPtr shared = text(u"shared");
    std::vector<const StringElement*> pushed;
    for (int i = 0; i < 4; ++i) {
        StringElementPtr element = i == 2 ? shared : text(u"own");
        pushed.push_back(element.get());
        array->push_back(std::move(element));
        EXPECT_EQ(element, nullptr);
    }
    EXPECT_EQ(elementsOf(*array).data(), storage);
    EXPECT_EQ(extentsOf(*array), (Extents{4, 1}));
    EXPECT_EQ(shared->refCount.load(), 2u);

    pushed.push_back(nullptr);
    array->push_back(nullptr);
    EXPECT_NE(elementsOf(*array).data(), storage);
    EXPECT_EQ(pointersIn(*array), pushed);
    EXPECT_EQ(extentsOf(*array), (Extents{5, 1}));
    std::uint64_t capacity = 0;  // the word after the element count
    std::memcpy(&capacity, reinterpret_cast<const char*>(array.get()) + 9 * sizeof(std::uint64_t), sizeof capacity);
    EXPECT_EQ(capacity, 6u);  // 4 * 8 / 5
    EXPECT_EQ(reference::liveCounts().strings, 4);
}

// resize grows the elements by push_back's rule (the larger of the new size and 8/5 of
// the capacity) and shrinks them in place, keeping the storage.
TEST_F(StringArrayTest, ResizeGrowsLikePushBackAndShrinksInPlace) {
    ArrayPtr array = arrayOf({4, 1});
    auto capacity = [&] {
        std::uint64_t value = 0;  // the word after the element count
        std::memcpy(&value, reinterpret_cast<const char*>(array.get()) + 9 * sizeof(std::uint64_t), sizeof value);
        return value;
    };
    ASSERT_EQ(capacity(), 4u);
    array->resize(Extents{5, 1});
    EXPECT_EQ(capacity(), 6u);  // 4 * 8 / 5 beats 5
    array->resize(Extents{4, 5});
    EXPECT_EQ(capacity(), 20u);  // 20 beats 6 * 8 / 5
    const StringElementPtr* storage = elementsOf(*array).data();
    array->resize(Extents{1, 1});
    EXPECT_EQ(capacity(), 20u);
    EXPECT_EQ(elementsOf(*array).data(), storage);
    array->resize(Extents{20, 1});
    EXPECT_EQ(elementsOf(*array).data(), storage);
}

TEST_F(StringArrayTest, ResizeDropsTrailingOnesAndKeepsTwoExtents) {
    const std::vector<std::pair<Extents, Extents>> cases = {{{5}, {5, 1}},
                                                            {{}, {1, 1}},
                                                            {{1, 1, 1}, {1, 1}},
                                                            {{2, 3, 1, 1}, {2, 3}},
                                                            {{3, 1, 2}, {3, 1, 2}},
                                                            {{0, 4}, {0, 4}},
                                                            {{1}, {1, 1}},
                                                            {{1, 5}, {1, 5}},
                                                            {{2, 2, 2, 2}, {2, 2, 2, 2}},
                                                            {{4, 1, 1, 2, 1}, {4, 1, 1, 2}}};
    ArrayPtr array(new StringArrayVariant());
    for (const auto& [given, kept] : cases) {
        array->resize(given);
        EXPECT_EQ(extentsOf(*array), kept) << "resized to " << ::testing::PrintToString(given);
        EXPECT_EQ(array->getNumberOfElements(), reference::elementCount(given));
    }
    array->resize(Extents{2, 3, 4});
    array->resize(array->getDimensionsSpan());  // its own extents: nothing changes
    EXPECT_EQ(extentsOf(*array), (Extents{2, 3, 4}));
}

TEST_F(StringArrayTest, ResizeKeepsLinearPositionsAndAddsMissingStrings) {
    ArrayPtr array = arrayOf({0, 1});
    std::vector<const StringElement*> kept;
    for (const char16_t* s : {u"a", u"b", u"c"}) {
        StringElementPtr element = text(s);
        kept.push_back(element.get());
        array->push_back(std::move(element));
    }
    array->resize(Extents{2, 2});
    EXPECT_THAT(pointersIn(*array), ElementsAre(kept[0], kept[1], kept[2], nullptr));
    array->resize(Extents{2, 1});
    EXPECT_THAT(pointersIn(*array), ElementsAre(kept[0], kept[1]));
    EXPECT_EQ(reference::liveCounts().strings, 2);
}

TEST_F(StringArrayTest, ResizeToEmptyReleasesEveryElementButSharedOnesLiveOn) {
    ArrayPtr array = arrayOf({0, 1});
    StringElementPtr shared = text(u"shared");
    array->push_back(shared);
    array->push_back(text(u"only here"));
    EXPECT_EQ(shared->refCount.load(), 2u);

    array->resize(Extents{0, 0});
    EXPECT_EQ(array->getNumberOfElements(), 0u);
    EXPECT_EQ(extentsOf(*array), (Extents{0, 0}));
    EXPECT_EQ(reference::liveCounts().strings, 1);
    EXPECT_EQ(shared->refCount.load(), 1u);
    EXPECT_EQ(shared->text, u"shared");
}

TEST_F(StringArrayTest, DestroyingTheArrayReleasesItsElements) {
    StringElementPtr shared = text(u"shared");
    {
        ArrayPtr array = arrayOf({0, 1});
        for (int i = 0; i < 5; ++i) array->push_back(text(u"own"));
        array->push_back(shared);
        EXPECT_EQ(reference::liveCounts().strings, 6);
    }
    EXPECT_EQ(reference::liveCounts().strings, 1);
    EXPECT_EQ(shared->refCount.load(), 1u);
}

TEST_F(StringArrayTest, GrowthPastTheAllocatorLimitIsBoostsLengthErrorAndChangesNothing) {
    ArrayPtr array = arrayOf({2, 1});
    const std::vector<Extents> tooLarge = {
        {std::uint64_t{1} << 60},  // one past the limit of 2^60 - 1
        {std::uint64_t{1} << 32, std::uint64_t{1} << 32, 2}  // a product past 64 bits
    };
    for (const Extents& extents : tooLarge) {
        EXPECT_THROW_MESSAGE(array->resize(extents), std::length_error,
                             "get_next_capacity, allocator's max size reached");
        EXPECT_EQ(extentsOf(*array), (Extents{2, 1}));
        EXPECT_EQ(array->getNumberOfElements(), 2u);
    }
    array->resize(Extents{0, std::uint64_t{1} << 40, std::uint64_t{1} << 40});  // a zero extent: no elements
    EXPECT_EQ(array->getNumberOfElements(), 0u);
}

TEST_F(StringArrayTest, TheBaseAnswersForTheElementsOfItsArray) {
    ArrayPtr array = arrayOf({0, 1});
    array->push_back(text(u"a"));
    array->push_back(nullptr);
    const Korvane::String::detail::StringArrayBase& base = *array;
    EXPECT_EQ(base.elementCount(), 2u);
    EXPECT_FALSE(base.isElementMissing(0));
    EXPECT_TRUE(base.isElementMissing(1));
    EXPECT_THROW_MESSAGE(base.isElementMissing(2), std::out_of_range, "string array element index past the end");
}

TEST_F(StringArrayTest, EachVariantIsOneMoreReferenceToTheArray) {
    ArrayPtr array = arrayOf({1, 1});
    EXPECT_EQ(array->refCount, 1u);
    {
        auto variant = array->getVariant();
        EXPECT_EQ(array->refCount, 2u);
        EXPECT_EQ(variant.index(), 0u);
        EXPECT_EQ(std::get<0>(variant).get(), array.get());

        const StringArrayVariant& constant = *array;
        auto constVariant = constant.getVariant();
        EXPECT_EQ(array->refCount, 3u);
        EXPECT_EQ(std::get<0>(constVariant).get(), array.get());
    }
    EXPECT_EQ(array->refCount, 1u);
}

TEST_F(StringArrayTest, ElementsAreSharedSafelyAcrossThreads) {
    StringElementPtr shared = text(u"everywhere");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&shared] {
            ArrayPtr array = arrayOf({0, 1});
            for (int i = 0; i < 2000; ++i) array->push_back(shared);
            array->resize(Extents{0, 0});
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(shared->refCount.load(), 1u);
}

TEST_F(StringArrayTest, LayoutIsTheOneTheHostReads) {
    // Object base (virtual table, count), then each small vector: data pointer, size,
    // capacity, inline room.
    ArrayPtr array = arrayOf({2, 3, 4});
    for (int i = 0; i < 3; ++i) array->push_back(text(u"x"));
    std::uint64_t words[sizeof(StringArrayVariant) / 8];
    std::memcpy(words, static_cast<const void*>(array.get()), sizeof words);
    auto extents = array->getDimensionsSpan();
    auto elements = elementsOf(*array);
    EXPECT_EQ(words[1], array->refCount);
    EXPECT_EQ(words[2], reinterpret_cast<std::uintptr_t>(extents.data()));
    EXPECT_EQ(words[3], 3u);
    EXPECT_EQ(words[4], 3u);  // grown past the inline two, exactly to size
    EXPECT_EQ(words[7], reinterpret_cast<std::uintptr_t>(elements.data()));
    EXPECT_EQ(words[8], 27u);
    EXPECT_GE(words[9], 27u);
}

}  // namespace
