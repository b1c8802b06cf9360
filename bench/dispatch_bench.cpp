// Host dispatch through the library's adaptors against hand-written metadata classes
// doing the same work. Every case times both sides in the same iterations, alternating
// which goes first, and reports the adaptor's cost as a ratio to the hand-written one.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "convenience/convenience.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "plugin/hand_written.hpp"
#include "plugin/paired_timing.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

// Calls per timed batch: long enough to dwarf the clock reads, short enough that both
// sides of a batch see the same machine state.
constexpr int kBatch = 2000;

// One property and one method adaptor, reached the way the host reaches them.
struct HostMembers {
    COSPropInfo* property = nullptr;
    COSMethodInfo* method = nullptr;
    // Copies of the two records' hooks, for the hand-written classes that call them.
    std::function<COSValue(COSInterface*)> getHook;
    std::function<void(const COSClient*, int&, COSValue*, int, const COSValue*)> invokeHook;

    HostMembers() {
        auto* cls = reference::defineClass("bench.Thing");

        auto prop = createProperty("Value");
        prop->getFcn = [stored = values::makeDouble(1.5)](COSInterface*) -> COSValue { return stored; };
        getHook = prop->getFcn;
        prop->attach(cls);
        property = cls->properties().back();

        auto meth = createMethod("poke");
        meth->invokeFcn = [](const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue*) {
            bench::invokeSink() += inputCount;
            outputCount = 0;
        };
        invokeHook = meth->invokeFcn;
        meth->attach(cls);
        method = cls->methods().back();
    }
    ~HostMembers() { reference::shutdown(); }
};

// The adaptor's per-call cost against the hand-written class's, and their ratio.
template <class AdaptorCall, class BaselineCall>
void compare(benchmark::State& state, AdaptorCall adaptorCall, BaselineCall baselineCall) {
    bench::timePaired(state, kBatch, adaptorCall, baselineCall, "adaptor", "baseline");
}

void BM_PropGetName(benchmark::State& state) {
    HostMembers members;
    std::unique_ptr<COSPropInfo> hand(bench::makeHandPropInfo("Value", COSValue()));
    COSPropInfo* adaptor = bench::opaque<COSPropInfo>(members.property);
    COSPropInfo* baseline = bench::opaque<COSPropInfo>(hand.get());
    compare(
        state, [&] { benchmark::DoNotOptimize(adaptor->getName()); },
        [&] { benchmark::DoNotOptimize(baseline->getName()); });
}

void BM_ClassGetName(benchmark::State& state) {
    auto* adaptor = bench::opaque<COSClassInfo>(bench::makeClassAdaptor(createClass("bench.Thing")));
    auto* baseline = bench::opaque<COSClassInfo>(bench::makeHandClassInfo("bench.Thing"));
    compare(
        state, [&] { benchmark::DoNotOptimize(adaptor->getName()); },
        [&] { benchmark::DoNotOptimize(baseline->getName()); });
    delete adaptor;
    delete baseline;
}

void BM_PropAttribute7(benchmark::State& state) {
    HostMembers members;
    std::unique_ptr<COSPropInfo> hand(bench::makeHandPropInfo("Value", COSValue()));
    COSPropInfo* adaptor = bench::opaque<COSPropInfo>(members.property);
    COSPropInfo* baseline = bench::opaque<COSPropInfo>(hand.get());
    compare(
        state, [&] { benchmark::DoNotOptimize(adaptor->isPropertyAttribute7()); },
        [&] { benchmark::DoNotOptimize(baseline->isPropertyAttribute7()); });
}

void BM_ClassFlag10(benchmark::State& state) {
    auto* adaptor = bench::opaque<COSClassInfo>(bench::makeClassAdaptor(createClass("bench.Thing")));
    auto* baseline = bench::opaque<COSClassInfo>(bench::makeHandClassInfo("bench.Thing"));
    compare(
        state, [&] { benchmark::DoNotOptimize(adaptor->isClassFlag10()); },
        [&] { benchmark::DoNotOptimize(baseline->isClassFlag10()); });
    delete adaptor;
    delete baseline;
}

// The adaptor's invoke (or another measured class's) against a hand-written method class.
void compareInvoke(benchmark::State& state, COSMethodInfo* adaptor, COSMethodInfo* baseline,
                   const std::string& measuredName = "adaptor") {
    adaptor = bench::opaque(adaptor);
    baseline = bench::opaque(baseline);
    COSValue inputs[2];
    COSValue outputs[1];
    bench::timePaired(
        state, kBatch,
        [&] {
            int outputCount = 1;
            adaptor->invoke(reference::client(), outputCount, outputs, 2, inputs);
            benchmark::DoNotOptimize(outputCount);
        },
        [&] {
            int outputCount = 1;
            baseline->invoke(reference::client(), outputCount, outputs, 2, inputs);
            benchmark::DoNotOptimize(outputCount);
        },
        measuredName, "baseline");
    benchmark::DoNotOptimize(bench::invokeSink());
}

void BM_MethodInvoke(benchmark::State& state) {
    HostMembers members;
    std::unique_ptr<COSMethodInfo> hand(bench::makeHandMethodInfo());
    compareInvoke(state, members.method, hand.get());
}

// Against a hand-written class that calls the same hook through a std::function member:
// what the adaptor adds to the std::function call a record's hook needs anyway.
void BM_MethodInvokeVsHookCall(benchmark::State& state) {
    HostMembers members;
    std::unique_ptr<COSMethodInfo> hand(bench::makeHookMethodInfo(members.invokeHook));
    compareInvoke(state, members.method, hand.get());
}

// The floor for any behaviour a class lets its user replace: a hand-written class calling a
// plain function pointer, against the one with the body compiled in. No adaptor involved.
void BM_MethodInvokePointerFloor(benchmark::State& state) {
    HostMembers members;  // the same host as the other cases, shut down at the end
    std::unique_ptr<COSMethodInfo> pointer(bench::makePointerMethodInfo(
        [](void*, const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue*) {
            bench::invokeSink() += inputCount;
            outputCount = 0;
        },
        nullptr));
    std::unique_ptr<COSMethodInfo> hand(bench::makeHandMethodInfo());
    compareInvoke(state, pointer.get(), hand.get(), "pointer");
}

// A namespace function: the adaptor reached through the package it was given to.
void BM_FunctionInvoke(benchmark::State& state) {
    auto* package = reference::definePackage("bench");
    auto function = createFunction("poke");
    function->invokeFcn = [](const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue*) {
        bench::invokeSink() += inputCount;
        outputCount = 0;
    };
    function->attach(package);
    std::unique_ptr<COSMethodInfo> hand(bench::makeHandMethodInfo());
    compareInvoke(state, package->entries().back().functionInfo, hand.get());
    reference::shutdown();
}

// The adaptor's getValue (or another measured class's) against a hand-written property class.
void compareGetValue(benchmark::State& state, COSPropInfo* adaptor, COSPropInfo* baseline,
                     const std::string& measuredName = "adaptor") {
    adaptor = bench::opaque(adaptor);
    baseline = bench::opaque(baseline);
    bench::timePaired(
        state, kBatch, [&] { benchmark::DoNotOptimize(adaptor->getValue(nullptr)); },
        [&] { benchmark::DoNotOptimize(baseline->getValue(nullptr)); }, measuredName, "baseline");
}

void BM_PropGetValue(benchmark::State& state) {
    HostMembers members;
    std::unique_ptr<COSPropInfo> hand(bench::makeHandPropInfo("Value", values::makeDouble(1.5)));
    compareGetValue(state, members.property, hand.get());
}

// As BM_MethodInvokeVsHookCall, for getValue.
void BM_PropGetValueVsHookCall(benchmark::State& state) {
    HostMembers members;
    std::unique_ptr<COSPropInfo> hand(bench::makeHookPropInfo(members.getHook));
    compareGetValue(state, members.property, hand.get());
}

// As BM_MethodInvokePointerFloor, for getValue: the pointer's state is the stored value.
void BM_PropGetValuePointerFloor(benchmark::State& state) {
    HostMembers members;
    COSValue stored = values::makeDouble(1.5);
    std::unique_ptr<COSPropInfo> pointer(bench::makePointerPropInfo(
        [](void* value, COSInterface*) -> COSValue { return *static_cast<const COSValue*>(value); }, &stored));
    std::unique_ptr<COSPropInfo> hand(bench::makeHandPropInfo("Value", stored));
    compareGetValue(state, pointer.get(), hand.get(), "pointer");
}

BENCHMARK(BM_PropGetName)->UseManualTime();
BENCHMARK(BM_ClassGetName)->UseManualTime();
BENCHMARK(BM_PropAttribute7)->UseManualTime();
BENCHMARK(BM_ClassFlag10)->UseManualTime();
BENCHMARK(BM_MethodInvoke)->UseManualTime();
BENCHMARK(BM_FunctionInvoke)->UseManualTime();
BENCHMARK(BM_PropGetValue)->UseManualTime();
BENCHMARK(BM_MethodInvokeVsHookCall)->UseManualTime();
BENCHMARK(BM_PropGetValueVsHookCall)->UseManualTime();
BENCHMARK(BM_MethodInvokePointerFloor)->UseManualTime();
BENCHMARK(BM_PropGetValuePointerFloor)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
