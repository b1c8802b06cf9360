// The inspector's whole run on a plugin of N classes of ten members each (load, define
// and publish, diagnose, pull everything in, write the text report, shut down, unload,
// check for leaks), paired in the same run with the library and the host doing the same
// work without the inspector: describe and publish, populate, sign, ask each property for
// its factory default, shut down. Reports per member: the inspector's time, the
// baseline's, the inspector's own overhead (the difference), and that overhead against
// the baseline's scale-benchmark part (describe and publish, populate, sign).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "host/reference/reference_host.hpp"
#include "plugin/paired_scale.hpp"
#include "plugin/scale_classes.hpp"
#include "reports.hpp"
#include "session.hpp"

namespace {

using namespace orrery;

double inspectorRun(int classes) {
    setenv("ORRERY_SCALE_CLASSES", std::to_string(classes).c_str(), 1);
    inspector::Options options;
    options.plugins = {SCALE_PLUGIN};
    options.progress = false;
    const double start = bench::threadSeconds();
    const inspector::Outcome outcome = inspector::inspect(options);
    std::ostringstream text;
    inspector::writeText(outcome.inspection, text);
    const double seconds = bench::threadSeconds() - start;
    if (outcome.exitCode != 0 || outcome.inspection.counts().classes != std::size_t(classes)) std::abort();
    return seconds;
}

struct LibraryRun {
    double scale = 0;  // what the scale benchmark times
    double rest = 0;  // the factory defaults and the shutdown
};

LibraryRun libraryRun(int classes) {
    reference::shutdown();
    LibraryRun run;
    std::vector<reference::ClassObject*> populated;
    populated.reserve(std::size_t(classes));
    double start = bench::threadSeconds();
    for (int i = 0; i < classes; ++i) bench::describeAndPublishScaleClass(i);
    for (COSClassInfo* info : reference::registeredClassInfos()) {
        populated.push_back(reference::populate(info));
        for (COSMethodInfo* method : populated.back()->methods()) benchmark::DoNotOptimize(method->getSignature());
    }
    run.scale = bench::threadSeconds() - start;
    start = bench::threadSeconds();
    for (reference::ClassObject* cls : populated)
        for (COSPropInfo* property : cls->properties()) benchmark::DoNotOptimize(property->getFactoryDefault());
    reference::shutdown();
    run.rest = bench::threadSeconds() - start;
    return run;
}

void BM_InspectorScale(benchmark::State& state) {
    const int classes = int(state.range(0));
    inspectorRun(classes);  // untimed: the plugin's first load and the ids interned once
    libraryRun(classes);
    double inspector = 0, scale = 0, rest = 0;
    bool inspectorFirst = true;
    for (auto _ : state) {
        double a = 0;
        LibraryRun b;
        if (inspectorFirst) {
            a = inspectorRun(classes);
            b = libraryRun(classes);
        } else {
            b = libraryRun(classes);
            a = inspectorRun(classes);
        }
        inspectorFirst = !inspectorFirst;
        state.SetIterationTime(a);
        inspector += a;
        scale += b.scale;
        rest += b.rest;
    }
    const double members = double(classes) * bench::kMembersPerScaleClass * double(state.iterations());
    const double baseline = scale + rest;
    state.counters["ns_per_member"] = inspector / members * 1e9;
    state.counters["baseline_ns_per_member"] = baseline / members * 1e9;
    state.counters["scale_ns_per_member"] = scale / members * 1e9;
    state.counters["ratio"] = inspector / baseline;
    state.counters["overhead_ns_per_member"] = (inspector - baseline) / members * 1e9;
    state.counters["overhead_vs_scale"] = (inspector - baseline) / scale;
}

// The price of running the plugins in a supervised child process: the same run in wall
// time, through inspectSupervised (fork, the report sent through a pipe frame by frame)
// against inspect() in this process.
double wallRun(int classes, bool supervised) {
    setenv("ORRERY_SCALE_CLASSES", std::to_string(classes).c_str(), 1);
    inspector::Options options;
    options.plugins = {SCALE_PLUGIN};
    options.progress = false;
    const auto start = std::chrono::steady_clock::now();
    const inspector::Outcome outcome = supervised ? inspector::inspectSupervised(options) : inspector::inspect(options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome.exitCode != 0 || outcome.inspection.counts().classes != std::size_t(classes)) std::abort();
    return seconds;
}

void BM_InspectorSupervised(benchmark::State& state) {
    const int classes = int(state.range(0));
    wallRun(classes, false);
    double supervised = 0, here = 0;
    bool supervisedFirst = true;
    for (auto _ : state) {
        double a = 0, b = 0;
        if (supervisedFirst) {
            a = wallRun(classes, true);
            b = wallRun(classes, false);
        } else {
            b = wallRun(classes, false);
            a = wallRun(classes, true);
        }
        supervisedFirst = !supervisedFirst;
        state.SetIterationTime(a);
        supervised += a;
        here += b;
    }
    const double members = double(classes) * bench::kMembersPerScaleClass * double(state.iterations());
    state.counters["ns_per_member"] = supervised / members * 1e9;
    state.counters["in_process_ns_per_member"] = here / members * 1e9;
    state.counters["ratio"] = supervised / here;
}

BENCHMARK(BM_InspectorScale)->Arg(1'000)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InspectorScale)->Arg(10'000)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InspectorSupervised)->Arg(10'000)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
