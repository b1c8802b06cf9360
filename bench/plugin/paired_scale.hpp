#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <time.h>

#include <array>
#include <cstdint>
#include <string>

namespace bench {

// Everything live on the malloc heap: the host's metadata heaps use malloc directly,
// so counting operator new alone would miss them.
inline std::int64_t heapInUse() {
    struct mallinfo2 info = mallinfo2();
    return std::int64_t(info.uordblks + info.hblkhd);
}

// What one side of a scale case measured in one run: the seconds of its three stages
// and how far the heap grew while everything it made was alive.
struct ScaleRun {
    std::array<double, 3> stageSeconds{};
    std::int64_t grownBytes = 0;

    double seconds() const { return stageSeconds[0] + stageSeconds[1] + stageSeconds[2]; }
};

// Seconds of CPU this thread has used. The scale runs take long enough that, on a
// machine shared with other work, wall time mostly measures the other work.
inline double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Times a stage: call `stage()`, add the CPU seconds it took to `into`.
template <class Stage>
void timeStage(double& into, Stage stage) {
    const double start = threadSeconds();
    stage();
    into += threadSeconds() - start;
}

// Runs both sides of a scale case once per iteration, alternating which goes first,
// after one untimed run of each (ids the host interns once per process are then not
// charged to whichever side happens to run first). The measured side's CPU time is the
// benchmark's manual time. Reports, per unit of work ("function", "member"), both
// sides' time and bytes and their ratios, and the measured side's time per stage.
template <class Measured, class Reference>
void runPairedScale(benchmark::State& state, double units, const std::string& unit,
                    const std::array<const char*, 3>& stageNames, Measured measured, Reference reference) {
    measured();
    reference();
    ScaleRun m, r;
    bool measuredFirst = true;
    for (auto _ : state) {
        ScaleRun a, b;
        if (measuredFirst) {
            a = measured();
            b = reference();
        } else {
            b = reference();
            a = measured();
        }
        measuredFirst = !measuredFirst;
        state.SetIterationTime(a.seconds());
        for (std::size_t i = 0; i < 3; ++i) {
            m.stageSeconds[i] += a.stageSeconds[i];
            r.stageSeconds[i] += b.stageSeconds[i];
        }
        m.grownBytes += a.grownBytes;
        r.grownBytes += b.grownBytes;
    }
    const double per = units * double(state.iterations());
    state.counters["ns_per_" + unit] = m.seconds() / per * 1e9;
    state.counters["hand_ns_per_" + unit] = r.seconds() / per * 1e9;
    state.counters["ratio"] = m.seconds() / r.seconds();
    state.counters["bytes_per_" + unit] = double(m.grownBytes) / per;
    state.counters["hand_bytes_per_" + unit] = double(r.grownBytes) / per;
    state.counters["bytes_ratio"] = double(m.grownBytes) / double(r.grownBytes);
    for (std::size_t i = 0; i < 3; ++i)
        state.counters[std::string(stageNames[i]) + "_ns"] = m.stageSeconds[i] / per * 1e9;
}

}  // namespace bench
