// The typed layer's call against a hand-written invokeFcn (and getFcn) doing the same
// work on a raw record: check the inputs, find the object's C++ object through the host,
// convert the numbers, call, make the output. Both are reached the way the host reaches
// them, through the adaptor's invoke, and timed in the same iterations.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "convenience/convenience.hpp"
#include "convenience/typed/typed.hpp"
#include "host/reference/reference_host.hpp"
#include "plugin/paired_timing.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

constexpr int kBatch = 2000;

struct Point {
    double x = 1, y = 2;
    double dot(double a, double b) const { return x * a + y * b; }
};

const COSId& rawId() {
    static const COSId id = makeId("bench.RawPoint");
    return id;
}

// The raw record's object: what the hand-written hooks find behind a host object.
const Point& pointOf(COSInterface* object) {
    COSClass* cls = omGetObjectClass(object);
    const auto* point = static_cast<const Point*>(omGetObjectData(object));
    if (!cls || !(cls->getClassID() == rawId()) || !point) throw std::invalid_argument("not a bench.RawPoint");
    return *point;
}

void publishRawPoint() {
    auto cls = createClass("bench.RawPoint");
    cls->allocateDataFcn = [](COSInterface*) -> void* { return new Point(); };
    cls->objectDataFcn = [](COSInterface*, void* data) { delete static_cast<Point*>(data); };
    auto dot = createMethod("dot");
    dot->inputTypes = {makeId("bench.RawPoint scalar"), makeId("double scalar"), makeId("double scalar")};
    dot->inputNames = {"self", "a", "b"};
    dot->outputTypes = {makeId("double scalar")};
    dot->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount, const COSValue* inputs) {
        if (inputCount != 3) throw std::invalid_argument("dot takes 3 inputs");
        if (outputCount > 1) throw std::invalid_argument("dot gives 1 output");
        const Point& point = pointOf(values::peekObject(inputs[0]));
        const auto a = values::readDouble(inputs[1]);
        const auto b = values::readDouble(inputs[2]);
        if (!a || !b) throw std::invalid_argument("dot takes numbers");
        const double result = point.dot(*a, *b);
        if (outputCount >= 1) outputs[0] = values::makeDouble(result);
        outputCount = outputCount >= 1 ? 1 : 0;
    };
    cls->addMethod(dot);
    auto x = createProperty("x");
    x->SetTypeAndImplicitFactoryDefaultFcn(makeId("double scalar"));
    x->getFcn = [](COSInterface* object) { return values::makeDouble(pointOf(object).x); };
    cls->addProperty(x);
    cls->addConstructor(createConstructor());
    cls->constructorRecords[0]->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int,
                                               const COSValue*) {
        outputs[0] = values::makeObject(omCreateObject(COSClass::getClass(rawId())));
        outputCount = 1;
    };
    cls->publish();
}

void publishTypedPoint() {
    typed::defineClass<Point>("bench.Point")
        .constructor<>()
        .method("dot", &Point::dot, {"a", "b"})
        .property("x", &Point::x)
        .publish();
}

// One object of each class and their members, as the host holds them.
struct Points {
    COSValue typed, raw;
    reference::ClassObject* typedClass;
    reference::ClassObject* rawClass;

    Points() {
        reference::shutdown();
        publishTypedPoint();
        publishRawPoint();
        typed = reference::construct(makeId("bench.Point"), {});
        raw = reference::construct(makeId("bench.RawPoint"), {});
        typedClass = reference::findClass("bench.Point");
        rawClass = reference::findClass("bench.RawPoint");
    }
    ~Points() {
        typed = raw = COSValue();
        reference::shutdown();
    }
};

void BM_TypedMethodCall(benchmark::State& state) {
    Points points;
    COSMethodInfo* typedDot = bench::opaque(points.typedClass->findMethod("dot"));
    COSMethodInfo* rawDot = bench::opaque(points.rawClass->findMethod("dot"));
    COSValue typedInputs[] = {points.typed, values::makeDouble(3), values::makeDouble(4)};
    COSValue rawInputs[] = {points.raw, values::makeDouble(3), values::makeDouble(4)};
    COSValue output[1];
    auto call = [&](COSMethodInfo* method, const COSValue* inputs) {
        int outputCount = 1;
        method->invoke(reference::client(), outputCount, output, 3, inputs);
        benchmark::DoNotOptimize(output[0].content());
    };
    bench::timePaired(
        state, kBatch, [&] { call(typedDot, typedInputs); }, [&] { call(rawDot, rawInputs); }, "typed", "hand_written");
}

void BM_TypedPropertyGet(benchmark::State& state) {
    Points points;
    COSPropInfo* typedX = bench::opaque(points.typedClass->findProperty("x"));
    COSPropInfo* rawX = bench::opaque(points.rawClass->findProperty("x"));
    COSInterfacePtr typedObject = values::readObject(points.typed);
    COSInterfacePtr rawObject = values::readObject(points.raw);
    bench::timePaired(
        state, kBatch, [&] { benchmark::DoNotOptimize(typedX->getValue(typedObject).content()); },
        [&] { benchmark::DoNotOptimize(rawX->getValue(rawObject).content()); }, "typed", "hand_written");
}

BENCHMARK(BM_TypedMethodCall)->UseManualTime();
BENCHMARK(BM_TypedPropertyGet)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
