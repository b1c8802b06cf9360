#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>

namespace bench {

// Hides the pointer's value from the optimiser, so calls through it stay virtual. A
// register-only constraint: the library's "+m,r" form miscompiles here under GCC 12.
template <class T>
T* opaque(T* pointer) {
    asm volatile("" : "+r"(pointer));
    return pointer;
}

struct PairedSeconds {
    double measured = 0;
    double reference = 0;
};

// Times `batch` calls of each side per iteration, alternating which goes first so that
// both see the same machine state. The measured side is the benchmark's manual time;
// adds "<name>_ns" counters for both sides and the ratio of measured to reference.
template <class Measured, class Reference>
PairedSeconds timePaired(benchmark::State& state, int batch, Measured measured, Reference reference,
                         const std::string& measuredName, const std::string& referenceName) {
    using Clock = std::chrono::steady_clock;
    auto timeBatch = [batch](auto& call) {
        auto start = Clock::now();
        for (int i = 0; i < batch; ++i) call();
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    PairedSeconds total;
    bool measuredFirst = true;
    for (auto _ : state) {
        double m, r;
        if (measuredFirst) {
            m = timeBatch(measured);
            r = timeBatch(reference);
        } else {
            r = timeBatch(reference);
            m = timeBatch(measured);
        }
        measuredFirst = !measuredFirst;
        state.SetIterationTime(m);
        total.measured += m;
        total.reference += r;
    }
    const double calls = double(state.iterations()) * batch;
    state.counters[measuredName + "_ns"] = total.measured / calls * 1e9;
    state.counters[referenceName + "_ns"] = total.reference / calls * 1e9;
    state.counters["ratio"] = total.reference > 0 ? total.measured / total.reference : 0;
    state.SetItemsProcessed(std::int64_t(calls));
    return total;
}

}  // namespace bench
