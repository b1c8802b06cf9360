// arrayComparison and isequal on object arrays of 10^6 elements with a trivial
// predicate, against a hand-written loop making the same host calls (bench plugin).
// Both sides run in the same iterations, alternating which goes first; the ratio is
// the library's time over the loop's.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "convenience/array_comparison.hpp"
#include "host/reference/reference_host.hpp"
#include "plugin/hand_array_loops.hpp"
#include "plugin/paired_timing.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

constexpr std::uint64_t kElements = 1'000'000;

// Two 1000-by-1000 arrays of the same objects, and a 1-by-1 one.
struct Operands {
    std::vector<COSInterfacePtr> objects;
    COSValue left;
    COSValue right;
    COSValue scalar;

    Operands() : objects(kElements) {
        for (auto& object : objects) object = reference::createObject(nullptr);
        left = reference::makeObjectArray({1000, 1000}, objects);
        right = reference::makeObjectArray({1000, 1000}, objects);
        scalar = reference::makeObjectArray({1, 1}, {objects[0]});
    }
};

Operands& operands() {
    static Operands instance;
    return instance;
}

const ElementPredicate& identical() {
    static const ElementPredicate predicate = [](const COSInterface* a, const COSInterface* b) { return a == b; };
    return predicate;
}

void perElement(benchmark::State& state, const bench::PairedSeconds& total, std::uint64_t elements) {
    const double calls = double(state.iterations());
    state.counters["library_ns_per_element"] = total.measured / calls / double(elements) * 1e9;
    state.counters["loop_ns_per_element"] = total.reference / calls / double(elements) * 1e9;
}

void BM_ArrayComparison(benchmark::State& state) {
    const hxArray* left = operands().left.content();
    const hxArray* right = operands().right.content();
    auto total = bench::timePaired(
        state, 1, [&] { benchmark::DoNotOptimize(arrayComparison(left, right, identical())); },
        [&] { benchmark::DoNotOptimize(bench::handArrayComparison(left, right, identical())); }, "library", "loop");
    perElement(state, total, kElements);
}

void BM_ArrayComparisonScalarLeft(benchmark::State& state) {
    const hxArray* scalar = operands().scalar.content();
    const hxArray* right = operands().right.content();
    // The loop fetches the scalar's element once, as the library does.
    auto handScalar = [&] {
        matrix::ArrayPtr result(matrix::detail::do_create_numeric({1000, 1000}, hxLOGICAL_CLASS, hxREAL));
        hxLogical* out = hxGetLogicals(result.get());
        COSInterfacePtr first = array::getElement(scalar, 0, array::ReturnDeletedHandle);
        for (std::uint64_t i = 0; i < kElements; ++i)
            out[i] = identical()(first, array::getElement(right, i, array::ReturnDeletedHandle));
        return result;
    };
    auto total = bench::timePaired(
        state, 1, [&] { benchmark::DoNotOptimize(arrayComparison(scalar, right, identical())); },
        [&] { benchmark::DoNotOptimize(handScalar()); }, "library", "loop");
    perElement(state, total, kElements);
}

void BM_Isequal(benchmark::State& state) {
    const hxArray* left = operands().left.content();
    const hxArray* right = operands().right.content();
    auto total = bench::timePaired(
        state, 1, [&] { benchmark::DoNotOptimize(isequal(left, right, identical())); },
        [&] { benchmark::DoNotOptimize(bench::handIsequal(left, right, identical())); }, "library", "loop");
    perElement(state, total, kElements);
}

BENCHMARK(BM_ArrayComparison)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrayComparisonScalarLeft)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Isequal)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
