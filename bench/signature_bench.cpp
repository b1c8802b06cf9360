// Signature requests through the method adaptor: the first one builds and caches the
// signature, every later one must cost no more than a plain text query.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"
#include "plugin/paired_timing.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

// A method with four named inputs and two named outputs.
std::shared_ptr<COSMethodInfoStruct> makeMethod() {
    static const COSId number = makeId("double");
    static const COSId flag = makeId("logical");
    auto method = createMethod("solve");
    method->inputTypes = {number, number, number, flag};
    method->inputNames = {"a", "b", "c", "exact"};
    method->outputTypes = {number, flag};
    method->outputNames = {"root", "converged"};
    return method;
}

using bench::opaque;

// Adaptors per timed batch of first requests. Each batch gets a fresh host class, and the
// previous one is dropped, so memory stays flat however many iterations run.
constexpr int kBuildBatch = 256;

void BM_SignatureFirstRequest(benchmark::State& state) {
    std::vector<COSMethodInfo*> batch;
    batch.reserve(kBuildBatch);
    for (auto _ : state) {
        state.PauseTiming();
        batch.clear();
        reference::shutdown();
        auto* cls = reference::defineClass("bench.Solver");
        for (int i = 0; i < kBuildBatch; ++i) makeMethod()->attach(cls);
        for (COSMethodInfo* method : cls->methods()) batch.push_back(opaque(method));
        state.ResumeTiming();
        for (COSMethodInfo* method : batch) benchmark::DoNotOptimize(method->getSignature());
    }
    reference::shutdown();
    state.counters["per_signature"] =
        benchmark::Counter(kBuildBatch, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

constexpr int kQueryBatch = 2000;

// The cached request, and a text query on the same adaptor timed alongside it.
void BM_SignatureCachedRequest(benchmark::State& state) {
    auto* cls = reference::defineClass("bench.Solver");
    makeMethod()->attach(cls);
    COSMethodInfo* method = opaque(cls->methods().back());
    benchmark::DoNotOptimize(method->getSignature());  // builds and caches

    auto signature = [&] { benchmark::DoNotOptimize(method->getSignature()); };
    auto name = [&] { benchmark::DoNotOptimize(method->getName()); };
    bench::timePaired(state, kQueryBatch, signature, name, "signature", "getName");
    reference::shutdown();
}

BENCHMARK(BM_SignatureFirstRequest);
BENCHMARK(BM_SignatureCachedRequest)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
