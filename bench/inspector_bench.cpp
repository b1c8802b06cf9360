// The inspector's whole run on a plugin of N classes of ten members each (load, define
// and publish, diagnose, pull everything in and sign it, write the text report, shut
// down, unload, check for leaks), against the library doing the plugin's work alone as
// the scale benchmark does it (describe and publish, populate, signatures), paired in
// the same run. Reports both sides' CPU time per member and their ratio.
#include <benchmark/benchmark.h>

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
    if (outcome.exitCode != 0 || outcome.inspection.counts().classes != classes) std::abort();
    return seconds;
}

double libraryRun(int classes) {
    reference::shutdown();
    const double start = bench::threadSeconds();
    for (int i = 0; i < classes; ++i) bench::describeAndPublishScaleClass(i);
    for (COSClassInfo* info : reference::registeredClassInfos())
        for (COSMethodInfo* method : reference::populate(info)->methods())
            benchmark::DoNotOptimize(method->getSignature());
    const double seconds = bench::threadSeconds() - start;
    reference::shutdown();
    return seconds;
}

void BM_InspectorScale(benchmark::State& state) {
    const int classes = int(state.range(0));
    inspectorRun(classes);  // untimed: the plugin's first load and the ids interned once
    libraryRun(classes);
    double inspector = 0, library = 0;
    bool inspectorFirst = true;
    for (auto _ : state) {
        double a = 0, b = 0;
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
        library += b;
    }
    const double members = double(classes) * bench::kMembersPerScaleClass * double(state.iterations());
    state.counters["ns_per_member"] = inspector / members * 1e9;
    state.counters["library_ns_per_member"] = library / members * 1e9;
    state.counters["ratio"] = inspector / library;
}

BENCHMARK(BM_InspectorScale)->Arg(1'000)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InspectorScale)->Arg(10'000)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
