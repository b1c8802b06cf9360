// End-to-end cost of many namespace functions: N functions spread over N/100
// namespaces up to five levels deep, published, every function resolved by its dotted
// name (the host makes and populates each package on the way) and every signature
// built. Paired in the same run with hand-written namespace and function metadata doing
// the same work from plain tables. Also: resolving a dotted name of depth 5 once the
// tree is populated, at each size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"
#include "plugin/hand_written_metadata.hpp"
#include "plugin/paired_scale.hpp"
#include "plugin/paired_timing.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

constexpr int kFunctionsPerNamespace = 100;
constexpr int kDepth = 5;

// The tree's shape, the same for both sides. Namespaces come in groups of five, one per
// depth; a namespace of depth d > 1 hangs below the namespace of depth d - 1 of group
// g / 2, so every parent comes before its children, no namespace is deeper than five,
// and group 0 is one chain of depth five. The functions fill the namespaces in order, a
// hundred each, as a plugin defines them namespace by namespace.
struct Shape {
    int namespaces;
    int functions;
    std::vector<int> parent;  // -1 at the top level
    std::vector<std::string> names, paths;
    std::vector<std::string> functionNames;  // dotted, "n0.n1.f1"

    Shape(int functionCount, const std::string& prefix)
        : namespaces(std::max(kDepth, functionCount / kFunctionsPerNamespace)), functions(functionCount) {
        for (int i = 0; i < namespaces; ++i) {
            const int depth = 1 + i % kDepth;
            parent.push_back(depth == 1 ? -1 : kDepth * (i / kDepth / 2) + depth - 2);
            names.push_back(prefix + std::to_string(i));
            paths.push_back(parent[i] < 0 ? names[i] : paths[parent[i]] + "." + names[i]);
        }
        for (int j = 0; j < functions; ++j)
            functionNames.push_back(paths[std::size_t(namespaceOf(j))] + ".f" + std::to_string(j));
    }
    int namespaceOf(int function) const { return int(std::int64_t(function) * namespaces / functions); }
    // The chain of group 0: a name of depth five.
    const std::string& deepest() const { return paths[kDepth - 1]; }
};

COSId number() {
    static const COSId id = makeId("double");
    return id;
}

// Two double inputs, named for even functions and generated, with varargin, for odd
// ones; one double output.
void describeAndPublish(const Shape& shape) {
    std::vector<std::shared_ptr<COSNamespaceInfoStruct>> records;
    records.reserve(std::size_t(shape.namespaces));
    for (const std::string& name : shape.names) records.push_back(createNamespace(name.c_str()));
    for (int j = 0; j < shape.functions; ++j) {
        auto function = createFunction(("f" + std::to_string(j)).c_str());
        function->inputTypes = {number(), number()};
        if (j % 2 == 0)
            function->inputNames = {"x", "y"};
        else
            function->hasVarargin = true;
        function->outputTypes = {number()};
        function->invokeFcn = [](const COSClient*, int& outputCount, COSValue*, int, const COSValue*) {
            outputCount = 0;
        };
        records[std::size_t(shape.namespaceOf(j))]->addFunction(std::move(function));
    }
    for (int i = 0; i < shape.namespaces; ++i)
        if (shape.parent[i] >= 0) records[std::size_t(shape.parent[i])]->addInnerNamespace(records[std::size_t(i)]);
    for (int i = 0; i < shape.namespaces; ++i)
        if (shape.parent[i] < 0) records[std::size_t(i)]->publish();
}

// The same tree as tables that hand-written infos answer from.
void describeAndPublishByHand(const Shape& shape, std::deque<bench::NamespaceTable>& tables) {
    for (const std::string& name : shape.names) tables.emplace_back().name = name;
    for (int j = 0; j < shape.functions; ++j) {
        bench::CallableTable function{"f" + std::to_string(j), {number(), number()}, {}, {number()}, {}};
        if (j % 2 == 0)
            function.inputNames = {"x", "y"};
        else
            function.hasVarargin = true;
        tables[std::size_t(shape.namespaceOf(j))].functions.push_back(std::move(function));
    }
    for (int i = 0; i < shape.namespaces; ++i)
        if (shape.parent[i] >= 0) tables[std::size_t(shape.parent[i])].inner.push_back(&tables[std::size_t(i)]);
    for (int i = 0; i < shape.namespaces; ++i)
        if (shape.parent[i] < 0) COSPackage::addNamespace(bench::makeHandNamespaceInfo(&tables[std::size_t(i)]));
}

// Every function by its dotted name, then every signature.
template <class Describe>
bench::ScaleRun run(const Shape& shape, Describe describe) {
    reference::shutdown();
    std::vector<COSMethodInfo*> resolved;
    resolved.reserve(std::size_t(shape.functions));  // the benchmark's bookkeeping, not measured
    bench::ScaleRun result;
    const std::int64_t heapBefore = bench::heapInUse();

    bench::timeStage(result.stageSeconds[0], describe);
    bench::timeStage(result.stageSeconds[1], [&] {
        for (const std::string& name : shape.functionNames) resolved.push_back(reference::findFunction(name));
    });
    bench::timeStage(result.stageSeconds[2], [&] {
        for (COSMethodInfo* function : resolved) benchmark::DoNotOptimize(function->getSignature());
    });

    result.grownBytes = bench::heapInUse() - heapBefore;
    reference::shutdown();
    return result;
}

void BM_NamespaceScale(benchmark::State& state) {
    const Shape shape(int(state.range(0)), "n");
    bench::runPairedScale(
        state, double(shape.functions), "function", {"describe_publish", "resolve", "signatures"},
        [&] { return run(shape, [&] { describeAndPublish(shape); }); },
        [&] {
            std::deque<bench::NamespaceTable> tables;  // the plugin's tables, alive until the host is gone
            return run(shape, [&] { describeAndPublishByHand(shape, tables); });
        });
}

// A name of depth five in a populated tree: the library's tree against the same tree
// made by hand, both in the host at once. The cost must not depend on the tree's size.
void BM_ResolveDepth5(benchmark::State& state) {
    reference::shutdown();
    const Shape library(int(state.range(0)), "n");
    const Shape byHand(int(state.range(0)), "h");
    std::deque<bench::NamespaceTable> tables;
    describeAndPublish(library);
    describeAndPublishByHand(byHand, tables);
    for (const Shape* shape : {&library, &byHand})
        for (const std::string& name : shape->functionNames) benchmark::DoNotOptimize(reference::findFunction(name));

    const std::string measured = library.deepest(), reference = byHand.deepest();
    bench::timePaired(
        state, 2000, [&] { benchmark::DoNotOptimize(reference::findPackage(measured)); },
        [&] { benchmark::DoNotOptimize(reference::findPackage(reference)); }, "library_tree", "hand_tree");
    state.counters["namespaces"] = library.namespaces;
    reference::shutdown();
}

BENCHMARK(BM_NamespaceScale)->Arg(1'000)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NamespaceScale)->Arg(10'000)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NamespaceScale)->Arg(100'000)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResolveDepth5)->Arg(1'000)->Arg(10'000)->Arg(100'000)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
