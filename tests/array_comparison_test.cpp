#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "convenience/array_comparison.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using ::testing::ElementsAre;
using Fetch = reference::ElementFetchRecorder::Fetch;
using Extents = std::vector<std::uint64_t>;
using Pair = std::pair<const COSInterface*, const COSInterface*>;

constexpr const char* kSizeMismatchId = "orrery:array:SizeMismatch";
constexpr const char* kSizeMismatchText = "Arrays have incompatible sizes for this operation.";

class ArrayComparisonTest : public orrery::testing::HostTest {
protected:
    // An object array of the shape, filled with new objects.
    COSValue objects(const Extents& extents) {
        std::vector<COSInterfacePtr> items(reference::elementCount(extents));
        for (auto& item : items) item = reference::createObject(nullptr);
        return reference::makeObjectArray(extents, items);
    }

    // Records every pair it sees and answers from `answers` by call number (true when
    // it runs out).
    ElementPredicate recording(std::vector<bool> answers = {}) {
        return [this, answers = std::move(answers)](const COSInterface* a, const COSInterface* b) {
            calls.emplace_back(a, b);
            return calls.size() > answers.size() || answers[calls.size() - 1];
        };
    }

    std::vector<Pair> calls;
};

const COSInterface* at(const COSValue& value, std::size_t index) {
    return static_cast<const COSInterfacePtr*>(value.content()->data())[index].get();
}

Extents extentsOf(const hxArray* array) {
    return Extents(array->dimensions(), array->dimensions() + array->numberOfDimensions());
}

std::vector<bool> logicals(const hxArray* array) {
    EXPECT_EQ(array->classID(), hxLOGICAL_CLASS);
    EXPECT_EQ(array->complexity(), hxREAL);
    const auto* values = static_cast<const hxLogical*>(array->data());
    return std::vector<bool>(values, values + array->numberOfElements());
}

TEST_F(ArrayComparisonTest, AScalarPairsWithEveryElementAndComesFirst) {
    struct Case {
        Extents left, right;
        bool leftIsScalar;
    };
    for (const Case& c : {Case{{1, 1}, {2, 3}, true}, Case{{2, 3}, {1, 1}, false}, Case{{1, 1}, {1, 1}, true}}) {
        calls.clear();
        COSValue left = objects(c.left);
        COSValue right = objects(c.right);
        const COSValue& scalar = c.leftIsScalar ? left : right;
        const COSValue& other = c.leftIsScalar ? right : left;
        reference::ElementFetchRecorder recorder;
        auto result = arrayComparison(left.content(), right.content(), recording({true, false}));

        EXPECT_EQ(extentsOf(result.get()), c.leftIsScalar ? c.right : c.left);
        const std::size_t count = other.content()->numberOfElements();
        std::vector<Pair> expectedCalls;
        std::vector<Fetch> expectedFetches{{scalar.content(), 0}};  // once, before the others
        for (std::size_t i = 0; i < count; ++i) {
            expectedCalls.emplace_back(at(scalar, 0), at(other, i));
            expectedFetches.push_back({other.content(), i});
        }
        EXPECT_EQ(calls, expectedCalls);
        EXPECT_EQ(recorder.fetches(), expectedFetches);
        std::vector<bool> expectedResults(count, true);
        if (count > 1) expectedResults[1] = false;
        EXPECT_EQ(logicals(result.get()), expectedResults);
    }
}

TEST_F(ArrayComparisonTest, ScalarAgainstEmptyGivesAnEmptyResultButFetchesTheScalar) {
    COSValue left = objects({1, 1});
    COSValue right = objects({0, 0});
    reference::ElementFetchRecorder recorder;
    auto result = arrayComparison(left.content(), right.content(), recording());
    EXPECT_EQ(extentsOf(result.get()), (Extents{0, 0}));
    EXPECT_TRUE(calls.empty());
    EXPECT_THAT(recorder.fetches(), ElementsAre(Fetch{left.content(), 0}));
}

TEST_F(ArrayComparisonTest, EqualShapesPairIndexByIndexFetchingLeftBeforeRight) {
    COSValue left = objects({2, 2});
    COSValue right = objects({2, 2});
    reference::ElementFetchRecorder recorder;
    auto result = arrayComparison(left.content(), right.content(), recording({true, false, false, true}));

    EXPECT_EQ(extentsOf(result.get()), (Extents{2, 2}));
    EXPECT_THAT(logicals(result.get()), ElementsAre(true, false, false, true));
    std::vector<Pair> expectedCalls;
    std::vector<Fetch> expectedFetches;
    for (std::size_t i = 0; i < 4; ++i) {
        expectedCalls.emplace_back(at(left, i), at(right, i));
        expectedFetches.push_back({left.content(), i});
        expectedFetches.push_back({right.content(), i});
    }
    EXPECT_EQ(calls, expectedCalls);
    EXPECT_EQ(recorder.fetches(), expectedFetches);
}

TEST_F(ArrayComparisonTest, DifferentShapesRaiseTheHostErrorBeforeAnythingIsMadeOrCalled) {
    const std::vector<std::pair<Extents, Extents>> cases = {
        {{2, 3}, {3, 2}}, {{2, 3}, {2, 3, 2}}, {{0, 3}, {3, 0}}, {{2, 3}, {2, 3, 1}}};
    for (const auto& [leftExtents, rightExtents] : cases) {
        COSValue left = objects(leftExtents);
        COSValue right = objects(rightExtents);
        const long arrays = reference::liveCounts().arrays;
        reference::ElementFetchRecorder recorder;
        EXPECT_HOST_ERROR(arrayComparison(left.content(), right.content(), recording()), kSizeMismatchId,
                          kSizeMismatchText);
        EXPECT_EQ(reference::liveCounts().arrays, arrays);
        EXPECT_TRUE(recorder.fetches().empty());
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(ArrayComparisonTest, EmptyOperandsOfEqualShapeGiveAnEmptyResultWithoutCalls) {
    COSValue left = objects({0, 3});
    COSValue right = objects({0, 3});
    auto result = arrayComparison(left.content(), right.content(), ElementPredicate());  // never called
    EXPECT_EQ(extentsOf(result.get()), (Extents{0, 3}));
    EXPECT_EQ(result->numberOfElements(), 0u);
}

TEST_F(ArrayComparisonTest, FailuresLeaveNoResultArrayBehind) {
    COSValue left = objects({1, 1});
    COSValue right = objects({2, 2});
    const long arrays = reference::liveCounts().arrays;
    EXPECT_THROW(arrayComparison(left.content(), right.content(), ElementPredicate()), std::bad_function_call);
    EXPECT_EQ(reference::liveCounts().arrays, arrays);

    auto throwing = [](const COSInterface*, const COSInterface*) -> bool { throw std::runtime_error("predicate"); };
    EXPECT_THROW_MESSAGE(arrayComparison(left.content(), right.content(), throwing), std::runtime_error, "predicate");
    EXPECT_EQ(reference::liveCounts().arrays, arrays);

    // Not an object array: the host's own error from getElement passes through.
    COSValue numbers(reference::createArray({2, 2}, hxDOUBLE_CLASS));
    EXPECT_THROW(arrayComparison(numbers.content(), right.content(), recording()), std::invalid_argument);
    EXPECT_EQ(reference::liveCounts().arrays, arrays + 1);
    EXPECT_TRUE(calls.empty());
}

TEST_F(ArrayComparisonTest, ScalarElementStaysReferencedWhileTheComparisonRuns) {
    COSInterfacePtr only = reference::createObject(nullptr);
    COSValue left = reference::makeObjectArray({1, 1}, {only});
    COSValue right = objects({1, 2});
    const COSInterface* scalar = only.get();
    only.reset();
    auto predicate = [&](const COSInterface* a, const COSInterface*) {
        // Emptying the left array mid-way leaves the comparison's own reference.
        static_cast<COSInterfacePtr*>(left.content()->data())[0].reset();
        EXPECT_EQ(a, scalar);
        EXPECT_EQ(reference::liveCounts().objects, 3);
        return true;
    };
    arrayComparison(left.content(), right.content(), predicate);
    EXPECT_EQ(reference::liveCounts().objects, 2);
}

// Each indexed element is fetched, turned into a raw pointer and its handle given back
// before the predicate runs: the arrays alone keep the pair alive, so dropping the
// arrays' references inside the predicate frees both objects at once.
TEST_F(ArrayComparisonTest, NoFetchedElementHandleIsHeldAcrossThePredicate) {
    COSValue left = objects({1, 3});
    COSValue right = objects({1, 3});
    std::size_t index = 0;
    std::vector<long> freed;
    auto dropBoth = [&](const COSInterface*, const COSInterface*) {
        const long before = reference::liveCounts().objects;
        static_cast<COSInterfacePtr*>(left.content()->data())[index].reset();
        static_cast<COSInterfacePtr*>(right.content()->data())[index].reset();
        ++index;
        freed.push_back(before - reference::liveCounts().objects);
        return true;
    };
    arrayComparison(left.content(), right.content(), dropBoth);
    EXPECT_THAT(freed, ElementsAre(2, 2, 2));

    index = 0;
    freed.clear();
    left = objects({1, 3});
    right = objects({1, 3});
    EXPECT_TRUE(isequal(left.content(), right.content(), dropBoth));
    EXPECT_THAT(freed, ElementsAre(2, 2, 2));
}

TEST_F(ArrayComparisonTest, DeletedObjectsReachThePredicateWithTheirIdentity) {
    COSValue left = objects({1, 2});
    COSValue right = objects({1, 2});
    reference::deleteObject(static_cast<COSInterfacePtr*>(left.content()->data())[1]);
    std::vector<bool> deleted;
    auto predicate = [&](const COSInterface* a, const COSInterface* b) {
        deleted.push_back(reference::isDeleted(a));
        return a != b;
    };
    auto result = arrayComparison(left.content(), right.content(), predicate);
    EXPECT_THAT(logicals(result.get()), ElementsAre(true, true));
    EXPECT_THAT(deleted, ElementsAre(false, true));

    EXPECT_NO_THROW(array::getElement(left.content(), 1, array::ReturnDeletedHandle));
    EXPECT_HOST_ERROR(array::getElement(left.content(), 1, array::ErrorOnDeletedHandle), "orrery:object:DeletedHandle",
                      "Invalid or deleted object.");
}

TEST_F(ArrayComparisonTest, DeferredExtentsAreCompletedBeforeTheyAreRead) {
    COSValue left(reference::createArrayWithDeferredExtents({3, 1}, hxOBJECT_CLASS));
    COSValue right(reference::createArrayWithDeferredExtents({3, 1}, hxOBJECT_CLASS));
    auto result = arrayComparison(left.content(), right.content(), recording());
    EXPECT_EQ(extentsOf(result.get()), (Extents{3, 1}));
    EXPECT_EQ(calls.size(), 3u);

    COSValue other(reference::createArrayWithDeferredExtents({3, 1}, hxOBJECT_CLASS));
    EXPECT_TRUE(isequal(left.content(), other.content(), recording()));
}

TEST_F(ArrayComparisonTest, IsequalNeedsTheSameShapeAndNeverExpandsScalars) {
    COSValue empty1 = objects({0, 0});
    COSValue empty2 = objects({0, 0});
    EXPECT_TRUE(isequal(empty1.content(), empty2.content(), ElementPredicate()));

    COSValue scalar = objects({1, 1});
    COSValue row = objects({1, 3});
    COSValue rowWithTrailingOne = objects({1, 3, 1});
    COSValue otherRow = objects({1, 3});
    EXPECT_FALSE(isequal(scalar.content(), row.content(), recording()));
    EXPECT_FALSE(isequal(row.content(), rowWithTrailingOne.content(), recording()));
    EXPECT_FALSE(isequal(scalar.content(), row.content(), ElementPredicate()));  // never reached
    EXPECT_TRUE(calls.empty());
    // An empty predicate fails only once there is a pair to compare.
    EXPECT_THROW(isequal(row.content(), otherRow.content(), ElementPredicate()), std::bad_function_call);

    EXPECT_TRUE(isequal(row.content(), otherRow.content(), recording()));
    EXPECT_THAT(calls, ElementsAre(Pair(at(row, 0), at(otherRow, 0)), Pair(at(row, 1), at(otherRow, 1)),
                                   Pair(at(row, 2), at(otherRow, 2))));
}

TEST_F(ArrayComparisonTest, IsequalStopsAtTheFirstFailingPair) {
    COSValue left = objects({2, 2});
    COSValue right = objects({2, 2});
    reference::ElementFetchRecorder recorder;
    EXPECT_FALSE(isequal(left.content(), right.content(), recording({true, false, true, true})));
    EXPECT_EQ(calls.size(), 2u);
    const hxArray* l = left.content();
    const hxArray* r = right.content();
    EXPECT_THAT(recorder.fetches(), ElementsAre(Fetch{l, 0}, Fetch{r, 0}, Fetch{l, 1}, Fetch{r, 1}));
}

TEST_F(ArrayComparisonTest, NullOperandsAreRefused) {
    COSValue row = objects({1, 2});
    EXPECT_THROW(arrayComparison(nullptr, row.content(), recording()), std::invalid_argument);
    EXPECT_THROW(isequal(row.content(), nullptr, recording()), std::invalid_argument);
    EXPECT_THROW(reshapeToColumn(matrix::ArrayPtr()), std::invalid_argument);
}

TEST_F(ArrayComparisonTest, ReshapeToColumnKeepsTheArrayAndEmptiesTheArgument) {
    const std::vector<std::pair<Extents, Extents>> cases = {
        {{2, 3}, {6, 1}}, {{0, 5}, {0, 1}}, {{1, 1}, {1, 1}}, {{2, 3, 4}, {24, 1}}, {{}, {1, 1}}};
    for (const auto& [before, after] : cases) {
        matrix::ArrayPtr handle(reference::createArray(before, hxDOUBLE_CLASS));
        const hxArray* array = handle.get();
        matrix::ArrayPtr column = reshapeToColumn(std::move(handle));
        EXPECT_EQ(handle, nullptr);
        EXPECT_EQ(column.get(), array);
        EXPECT_EQ(extentsOf(column.get()), after);
    }
    matrix::ArrayPtr deferred(reference::createArrayWithDeferredExtents({2, 2}, hxOBJECT_CLASS));
    EXPECT_EQ(extentsOf(reshapeToColumn(std::move(deferred)).get()), (Extents{4, 1}));
}

}  // namespace
