// The string array container's exported push_back and resize against std::vector of
// the same element pointers. Each iteration builds a fresh container and destroys it;
// both sides run in the same iterations, and "ratio" is the container's time over the
// vector's.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "convenience/string_array.hpp"
#include "plugin/paired_timing.hpp"

namespace {

using Korvane::String::StringElement;
using Korvane::String::StringElementPtr;
using Korvane::String::detail::StringArrayVariant;
using ArrayPtr = kvboost::intrusive_ptr<StringArrayVariant>;
using Extents = std::vector<std::uint64_t>;

constexpr std::uint64_t kElements = 1'000'000;

ArrayPtr column() {
    ArrayPtr array(new StringArrayVariant());
    array->resize(Extents{0, 1});
    return array;
}

// Missing strings: the container's own cost, no reference counts.
void BM_PushBackMissing(benchmark::State& state) {
    bench::timePaired(
        state, 1,
        [] {
            ArrayPtr array = column();
            for (std::uint64_t i = 0; i < kElements; ++i) array->push_back(StringElementPtr());
            benchmark::DoNotOptimize(array->getNumberOfElements());
        },
        [] {
            std::vector<StringElementPtr> vector;
            for (std::uint64_t i = 0; i < kElements; ++i) vector.push_back(StringElementPtr());
            benchmark::DoNotOptimize(vector.size());
        },
        "array", "vector");
}

// One string shared by every element: each push takes a reference.
void BM_PushBackShared(benchmark::State& state) {
    const StringElementPtr shared(new StringElement(u"shared"));
    bench::timePaired(
        state, 1,
        [&] {
            ArrayPtr array = column();
            for (std::uint64_t i = 0; i < kElements; ++i) array->push_back(shared);
            benchmark::DoNotOptimize(array->getNumberOfElements());
        },
        [&] {
            std::vector<StringElementPtr> vector;
            for (std::uint64_t i = 0; i < kElements; ++i) vector.push_back(shared);
            benchmark::DoNotOptimize(vector.size());
        },
        "array", "vector");
}

// Into room already there (kept from earlier rounds): the cost of the calls without the
// growth, which is Boost.Container's 60% rule and dominates the cases above.
void BM_PushBackIntoRoom(benchmark::State& state) {
    ArrayPtr array = column();
    array->resize(Extents{kElements, 1});
    std::vector<StringElementPtr> vector;
    vector.reserve(kElements);
    bench::timePaired(
        state, 1,
        [&] {
            array->resize(Extents{0, 1});
            for (std::uint64_t i = 0; i < kElements; ++i) array->push_back(StringElementPtr());
            benchmark::DoNotOptimize(array->getNumberOfElements());
        },
        [&] {
            vector.clear();
            for (std::uint64_t i = 0; i < kElements; ++i) vector.push_back(StringElementPtr());
            benchmark::DoNotOptimize(vector.size());
        },
        "array", "vector");
}

void BM_ResizeUpAndDown(benchmark::State& state) {
    bench::timePaired(
        state, 1,
        [] {
            ArrayPtr array = column();
            array->resize(Extents{kElements, 1});
            array->resize(Extents{0, 0});
            benchmark::DoNotOptimize(array->getNumberOfElements());
        },
        [] {
            std::vector<StringElementPtr> vector;
            vector.resize(kElements);
            vector.resize(0);
            benchmark::DoNotOptimize(vector.size());
        },
        "array", "vector");
}

BENCHMARK(BM_PushBackMissing)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PushBackShared)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PushBackIntoRoom)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResizeUpAndDown)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
