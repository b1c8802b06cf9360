// End-to-end cost of many classes: describe N classes of ten members each, publish them,
// let the host populate every class and ask for every signature. Reports time and heap
// growth per member, and the time of each stage per member.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using Clock = std::chrono::steady_clock;

constexpr int kMembersPerClass = 10;

// Everything live on the malloc heap: the host's metadata heaps use malloc directly,
// so counting operator new alone would miss them.
std::int64_t heapInUse() {
    struct mallinfo2 info = mallinfo2();
    return std::int64_t(info.uordblks + info.hblkhd);
}

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Four typed properties, four methods with two named inputs, a constructor and one
// untyped property.
void describeAndPublish(int index) {
    static const COSId number = makeId("double");
    static const std::string propertyNames[] = {"p1", "p2", "p3", "p4"};
    static const std::string methodNames[] = {"m1", "m2", "m3", "m4"};

    auto cls = createClass(("bench.C" + std::to_string(index)).c_str());
    for (const std::string& name : propertyNames) {
        auto property = createProperty(name.c_str());
        property->SetTypeAndImplicitFactoryDefaultFcn(number);
        cls->addProperty(std::move(property));
    }
    for (const std::string& name : methodNames) {
        auto method = createMethod(name);
        method->inputTypes = {number, number};
        method->inputNames = {"x", "y"};
        cls->addMethod(std::move(method));
    }
    cls->addConstructor(createConstructor());
    cls->addProperty(createProperty("tag"));
    cls->publish();
}

void BM_Scale(benchmark::State& state) {
    const int classes = int(state.range(0));
    const double members = double(classes) * kMembersPerClass;
    double describeSeconds = 0, populateSeconds = 0, signatureSeconds = 0;
    std::int64_t grown = 0;
    std::int64_t signatures = 0;

    for (auto _ : state) {
        reference::shutdown();
        const std::int64_t heapBefore = heapInUse();
        const auto start = Clock::now();

        for (int i = 0; i < classes; ++i) describeAndPublish(i);
        const auto described = Clock::now();

        std::vector<reference::ClassObject*> populated;
        populated.reserve(std::size_t(classes));
        for (COSClassInfo* info : reference::registeredClassInfos())
            populated.push_back(static_cast<reference::ClassObject*>(reference::populate(info)));
        const auto hostHasClasses = Clock::now();

        for (reference::ClassObject* cls : populated)
            for (COSMethodInfo* method : cls->methods()) {
                benchmark::DoNotOptimize(method->getSignature());
                ++signatures;
            }
        const auto end = Clock::now();

        // The bookkeeping vector is the benchmark's, not the library's.
        grown += heapInUse() - heapBefore - std::int64_t(populated.capacity() * sizeof(void*));
        describeSeconds += seconds(start, described);
        populateSeconds += seconds(described, hostHasClasses);
        signatureSeconds += seconds(hostHasClasses, end);
        state.SetIterationTime(seconds(start, end));
        reference::shutdown();
    }

    const double runs = double(state.iterations());
    const double perMemberNs = 1e9 / (members * runs);
    state.counters["ns_per_member"] = (describeSeconds + populateSeconds + signatureSeconds) * perMemberNs;
    state.counters["describe_publish_ns"] = describeSeconds * perMemberNs;
    state.counters["populate_ns"] = populateSeconds * perMemberNs;
    state.counters["signatures_ns"] = signatureSeconds * perMemberNs;
    state.counters["bytes_per_member"] = double(grown) / (members * runs);
    state.counters["signatures"] = double(signatures) / runs;
}

// Fixed run counts, each about a second of work or less: a single run at N = 100,000
// already makes a million members, while the small sizes need a few runs to settle.
BENCHMARK(BM_Scale)->Arg(1'000)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale)->Arg(10'000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale)->Arg(100'000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
