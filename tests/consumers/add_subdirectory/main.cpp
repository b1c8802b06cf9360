// A plugin author's class, built together with the library: tally.Counter counts up from
// where its constructor starts it. The host here is the reference host; the exit code
// says whether the host saw what we defined.
#include <cstdio>
#include <memory>

#include "convenience/convenience.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"

// Consumers see the public headers only, not the rest of the library's src/.
#if __has_include("members/signature_builder.hpp") || __has_include("host/reference/detail/counters.hpp")
#  error "the library's internals are on the consumer's include path"
#endif

using namespace orrery;
using namespace orrery::convenience;

namespace {

struct Counter {
    double count = 0;
};

Counter& counterOf(COSInterface* object) { return *static_cast<Counter*>(reference::asObject(object)->data()); }

void defineCounter() {
    auto counter = createClass("tally.Counter");
    counter->allocateDataFcn = [](COSInterface*) -> void* { return new Counter(); };
    counter->objectDataFcn = [](COSInterface*, void* data) { delete static_cast<Counter*>(data); };

    auto count = createProperty("count");
    count->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    count->setterAccess = COSAccessPrivate;  // only add() changes it
    count->getFcn = [](COSInterface* object) { return values::makeDouble(counterOf(object).count); };
    counter->addProperty(count);

    auto add = createMethod("add");
    add->inputTypes = {makeId("tally.Counter scalar"), makeId("double")};
    add->inputNames = {"self", "step"};
    add->outputTypes = {makeId("double")};
    add->outputNames = {"count"};
    add->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int, const COSValue* inputs) {
        Counter& state = counterOf(values::readObject(inputs[0]));
        state.count += values::readDouble(inputs[1]).value();
        outputs[0] = values::makeDouble(state.count);
        outputCount = 1;
    };
    counter->addMethod(add);

    auto constructor = createConstructor();
    constructor->inputTypes = {makeId("double")};
    constructor->inputNames = {"start"};
    constructor->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                const COSValue* inputs) {
        COSInterfacePtr object = reference::createObject(reference::findClass("tally.Counter"));
        if (inputCount >= 1) counterOf(object).count = values::readDouble(inputs[0]).value();
        outputs[0] = values::makeObject(object);
        outputCount = 1;
    };
    counter->addConstructor(constructor);
    counter->publish();
}

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

}  // namespace

int main() {
    defineCounter();
    {
        COSInterfacePtr c = values::readObject(reference::construct(makeId("tally.Counter"), {values::makeDouble(5)}));
        check(values::readDouble(reference::getProperty(c, "count")).value() == 5, "the constructor sets the start");
        reference::invokeMethod(c, "add", {values::makeDouble(2)}, 1);
        auto outputs = reference::invokeMethod(c, "add", {values::makeDouble(3)}, 1);
        check(outputs.size() == 1 && values::readDouble(outputs[0]).value() == 10, "add returns the new count");
        check(values::readDouble(reference::getProperty(c, "count")).value() == 10, "the count property follows add");
        COSPropInfo* info = reference::findClass("tally.Counter")->findProperty("count");
        check(info && info->getSetAccess() == COSAccessPrivate && info->getGetAccess() == COSAccessPublic,
              "count is readable by all, settable privately");
    }
    reference::shutdown();
    check(reference::liveCounts() == reference::LiveCounts{}, "the host frees everything at shutdown");
    std::printf("tally.Counter checks: %s\n", failures == 0 ? "ok" : "FAILED");
    return failures == 0 ? 0 : 1;
}
