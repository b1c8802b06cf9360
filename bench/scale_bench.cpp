// End-to-end cost of many classes: describe N classes of ten members each, publish them,
// let the host populate every class and ask for every signature. Paired in the same run
// with hand-written class metadata doing the same work from plain tables; reports time
// and heap growth per member for both, their ratios, and the library's time per stage.
#include <benchmark/benchmark.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"
#include "plugin/hand_written_metadata.hpp"
#include "plugin/paired_scale.hpp"
#include "plugin/scale_classes.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

constexpr int kMembersPerClass = bench::kMembersPerScaleClass;
const std::string kPropertyNames[] = {"p1", "p2", "p3", "p4"};
const std::string kMethodNames[] = {"m1", "m2", "m3", "m4"};

std::string className(int index) { return bench::scaleClassName(index); }

// The same class as a table a hand-written class info answers from.
void describeAndPublishByHand(std::deque<bench::ClassTable>& tables, int index) {
    static const COSId number = makeId("double");
    bench::ClassTable& table = tables.emplace_back();
    table.name = className(index);
    for (const std::string& name : kPropertyNames) table.properties.push_back({name, number});
    table.properties.push_back({"tag", COSId()});
    for (const std::string& name : kMethodNames) table.methods.push_back({name, {number, number}, {"x", "y"}, {}, {}});
    table.methods.push_back({table.name, {}, {}, {makeId(table.name + " scalar")}, {"Output"}});
    COSClass::addClass(bench::makeHandClassInfo(&table));
}

// One end-to-end run on an empty host: describe and publish, populate, signatures.
template <class DescribeAll>
bench::ScaleRun run(int classes, DescribeAll describeAll) {
    reference::shutdown();
    std::vector<reference::ClassObject*> populated;
    populated.reserve(std::size_t(classes));  // the benchmark's bookkeeping, not measured
    bench::ScaleRun result;
    const std::int64_t heapBefore = bench::heapInUse();

    bench::timeStage(result.stageSeconds[0], describeAll);
    bench::timeStage(result.stageSeconds[1], [&] {
        for (COSClassInfo* info : reference::registeredClassInfos()) populated.push_back(reference::populate(info));
    });
    bench::timeStage(result.stageSeconds[2], [&] {
        for (reference::ClassObject* cls : populated)
            for (COSMethodInfo* method : cls->methods()) benchmark::DoNotOptimize(method->getSignature());
    });

    result.grownBytes = bench::heapInUse() - heapBefore;
    reference::shutdown();
    return result;
}

void BM_Scale(benchmark::State& state) {
    const int classes = int(state.range(0));
    bench::runPairedScale(
        state, double(classes) * kMembersPerClass, "member", {"describe_publish", "populate", "signatures"},
        [&] {
            return run(classes, [&] {
                for (int i = 0; i < classes; ++i) bench::describeAndPublishScaleClass(i);
            });
        },
        [&] {
            std::deque<bench::ClassTable> tables;  // the plugin's tables, alive until the host is gone
            return run(classes, [&] {
                for (int i = 0; i < classes; ++i) describeAndPublishByHand(tables, i);
            });
        });
}

// Fixed run counts, each about a second of work or less: a single run at N = 100,000
// already makes a million members, while the small sizes need a few runs to settle.
BENCHMARK(BM_Scale)->Arg(1'000)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale)->Arg(10'000)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale)->Arg(100'000)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
