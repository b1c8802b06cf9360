// A typed call through a method the class inherits against the same call bound on the
// class itself. Both classes derive from the same C++ base, whose member function is the
// method: the inherited call reaches it through the superclass's binding (a pointer
// conversion more), the own one through the class's. Timed in the same iterations, first
// as the host calls a method it has looked up, then through the reference host's lookup
// by name on every call. The first case runs again with 64 other subclasses of the base
// bound before the two, so that finding the C++ object through the base's binding is
// timed where the base has many subclasses.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "convenience/typed/typed.hpp"
#include "host/reference/reference_host.hpp"
#include "plugin/paired_timing.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

constexpr int kBatch = 2000;

struct Base {
    double x = 1, y = 2;
    virtual ~Base() = default;
    double dot(double a, double b) const { return x * a + y * b; }
};
struct Inheriting : Base {};
struct Owning : Base {};
// Other subclasses of Base, bound before the two above.
template <int I>
struct Sibling : Base {};
constexpr int kSiblings = 64;

template <int... I>
void bindSiblings(const typed::ClassBuilder<Base>& base, std::integer_sequence<int, I...>) {
    (typed::defineClass<Sibling<I>>("bench.Sibling" + std::to_string(I)).superclass(base).publish(), ...);
}

struct Classes {
    COSValue inheriting, owning;
    COSMethodInfo* inherited;
    COSMethodInfo* own;

    explicit Classes(bool withSiblings) {
        reference::shutdown();
        auto base = typed::defineClass<Base>("bench.Base").method("dot", &Base::dot, {"a", "b"});
        base.publish();
        if (withSiblings) bindSiblings(base, std::make_integer_sequence<int, kSiblings>());
        typed::defineClass<Inheriting>("bench.Inheriting").superclass(base).constructor<>().publish();
        typed::defineClass<Owning>("bench.Owning")
            .superclass(base)
            .constructor<>()
            .method("dot", &Owning::dot, {"a", "b"})
            .publish();
        inheriting = reference::construct(makeId("bench.Inheriting"), {});
        owning = reference::construct(makeId("bench.Owning"), {});
        inherited = reference::resolveMethod(*reference::findClass("bench.Inheriting"), "dot").info;
        own = reference::resolveMethod(*reference::findClass("bench.Owning"), "dot").info;
    }
    ~Classes() {
        inheriting = owning = COSValue();
        reference::shutdown();
    }
};

void BM_InheritedMethodCall(benchmark::State& state) {
    Classes classes(state.range(0) != 0);
    COSMethodInfo* inherited = bench::opaque(classes.inherited);
    COSMethodInfo* own = bench::opaque(classes.own);
    COSValue inheritingInputs[] = {classes.inheriting, values::makeDouble(3), values::makeDouble(4)};
    COSValue owningInputs[] = {classes.owning, values::makeDouble(3), values::makeDouble(4)};
    COSValue output[1];
    auto call = [&](COSMethodInfo* method, const COSValue* inputs) {
        int outputCount = 1;
        method->invoke(reference::client(), outputCount, output, 3, inputs);
        benchmark::DoNotOptimize(output[0].content());
    };
    bench::timePaired(
        state, kBatch, [&] { call(inherited, inheritingInputs); }, [&] { call(own, owningInputs); }, "inherited",
        "own");
}

void BM_InheritedMethodLookupAndCall(benchmark::State& state) {
    Classes classes(false);
    const COSInterfacePtr inheriting = values::readObject(classes.inheriting);
    const COSInterfacePtr owning = values::readObject(classes.owning);
    const std::vector<COSValue> inputs{values::makeDouble(3), values::makeDouble(4)};
    auto call = [&](const COSInterfacePtr& object) {
        benchmark::DoNotOptimize(reference::invokeMethod(object, "dot", inputs, 1).data());
    };
    bench::timePaired(
        state, kBatch, [&] { call(inheriting); }, [&] { call(owning); }, "inherited", "own");
}

BENCHMARK(BM_InheritedMethodCall)->UseManualTime()->Arg(0)->Arg(kSiblings);
BENCHMARK(BM_InheritedMethodLookupAndCall)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
