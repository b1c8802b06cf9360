// Signature requests through the method adaptor: the first one builds and caches the
// signature, every later one must cost no more than a plain text query.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "host/reference/objects.hpp"
#include "host/reference/reference_host.hpp"
#include "host/reference/ref_class.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using Clock = std::chrono::steady_clock;

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

template <class T>
T* opaque(T* pointer) {
    benchmark::DoNotOptimize(pointer);
    return pointer;
}

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
        auto* cls = dynamic_cast<reference::RefClass*>(reference::defineClass("bench.Solver"));
        for (int i = 0; i < kBuildBatch; ++i) makeMethod()->attach(cls);
        for (COSMethodInfo* method : cls->methods()) batch.push_back(opaque(method));
        state.ResumeTiming();
        for (COSMethodInfo* method : batch) benchmark::DoNotOptimize(method->getSignature());
    }
    reference::shutdown();
    state.counters["per_signature"] = benchmark::Counter(
        kBuildBatch, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

constexpr int kQueryBatch = 2000;

// The cached request, and a text query on the same adaptor timed alongside it.
void BM_SignatureCachedRequest(benchmark::State& state) {
    auto* cls = reference::defineClass("bench.Solver");
    makeMethod()->attach(cls);
    COSMethodInfo* method = opaque(dynamic_cast<reference::RefClass*>(cls)->methods().back());
    benchmark::DoNotOptimize(method->getSignature());  // builds and caches

    auto timeBatch = [](auto&& call) {
        auto start = Clock::now();
        for (int i = 0; i < kQueryBatch; ++i) call();
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    auto signature = [&] { benchmark::DoNotOptimize(method->getSignature()); };
    auto name = [&] { benchmark::DoNotOptimize(method->getName()); };
    double signatureSeconds = 0, nameSeconds = 0;
    bool signatureFirst = true;
    for (auto _ : state) {
        double s, n;
        if (signatureFirst) {
            s = timeBatch(signature);
            n = timeBatch(name);
        } else {
            n = timeBatch(name);
            s = timeBatch(signature);
        }
        signatureFirst = !signatureFirst;
        state.SetIterationTime(s);
        signatureSeconds += s;
        nameSeconds += n;
    }
    reference::shutdown();
    const double calls = double(state.iterations()) * kQueryBatch;
    state.counters["signature_ns"] = signatureSeconds / calls * 1e9;
    state.counters["getName_ns"] = nameSeconds / calls * 1e9;
    state.counters["ratio"] = nameSeconds > 0 ? signatureSeconds / nameSeconds : 0;
    state.SetItemsProcessed(std::int64_t(calls));
}

BENCHMARK(BM_SignatureFirstRequest);
BENCHMARK(BM_SignatureCachedRequest)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
