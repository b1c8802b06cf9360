// Plugins that go wrong, one per PLUGIN_KIND, for the inspector's error paths.
#include <stdexcept>

#include "convenience/convenience.hpp"
#include "convenience/plugin/entry_point.hpp"
#include "convenience/typed/errors.hpp"

using namespace orrery;
using namespace orrery::convenience;

#if PLUGIN_KIND == 1
// Publishes a class, then fails with a host error: the class must not be inspected.
ORRERY_DEFINE_PLUGIN() {
    createClass("early.Published")->publish();
    typed::raiseReadOnlyProperty("early.Published.x");
}

#elif PLUGIN_KIND == 2
ORRERY_DEFINE_PLUGIN() { throw std::runtime_error("the plugin's settings file is missing"); }

#elif PLUGIN_KIND == 3
// Loads cleanly; its hooks fail when the host pulls its content in or calls it.
ORRERY_DEFINE_PLUGIN() {
    auto broken = createClass("hooks.Broken");
    broken->populateClassFcn = [](COSClass*, const COSClient*) { throw std::runtime_error("cannot set up Broken"); };
    broken->publish();

    auto fine = createClass("hooks.Fine");
    fine->description = "Sets up, then fails when used";
    fine->detailedDescription = "Its default and its method throw.";
    auto size = createProperty("size");
    size->type = makeId("double");
    size->factoryDefaultFcn = []() -> COSValue { typed::raiseAbstractMember("hooks.Fine.size"); };
    fine->addProperty(size);
    auto run = createMethod("run");
    run->inputTypes = {makeId("double")};
    run->invokeFcn = [](const COSClient*, int&, COSValue*, int, const COSValue*) {
        throw std::out_of_range("run: nothing to run");
    };
    fine->addMethod(run);
    fine->publish();

    auto space = createNamespace("tools");
    space->populatePackageFcn = [](COSPackage*) { typed::raiseCppException("tools", "the package is corrupt"); };
    space->addFunction(createFunction("f"));
    space->publish();
}

#elif PLUGIN_KIND == 4
// Leaves a class record with a member behind: the two keep each other alive.
ORRERY_DEFINE_PLUGIN() {
    auto lost = createClass("leaky.Lost");
    lost->addProperty(createProperty("x"));
    createClass("leaky.Kept")->publish();
}

#elif PLUGIN_KIND == 13
// As a plugin built against another release would be stamped: what the macro writes, by
// hand, with other values.
extern "C" ORRERY_PLUGIN_EXPORT const orrery_build_stamp* orrery_plugin_build_stamp() noexcept {
    static constexpr orrery_build_stamp stamp{"0.0.7", "orrery_convenience-0.0/" ORRERY_DETAIL_STDLIB_ABI};
    return &stamp;
}
extern "C" ORRERY_PLUGIN_EXPORT void orrery_define_plugin() { createClass("foreign.Never")->publish(); }

#elif PLUGIN_KIND == 14
// Carries the library's stamp function itself, as a plugin that links the library
// statically does; otherwise a good plugin.
extern "C" const orrery_build_stamp* orrery_convenience_build_stamp() noexcept {
    static constexpr orrery_build_stamp stamp{ORRERY_CONVENIENCE_VERSION, ORRERY_CONVENIENCE_ABI_TAG};
    return &stamp;
}
ORRERY_DEFINE_PLUGIN() { createClass("copy.Own")->publish(); }

#elif PLUGIN_KIND == 15
// An entry point without the macro, so without a stamp.
extern "C" ORRERY_PLUGIN_EXPORT void orrery_define_plugin() { createClass("unstamped.Never")->publish(); }
#endif

#if PLUGIN_KIND >= 5
#  include <unistd.h>

#  include <cstdio>
#  include <cstdlib>
#  include <string>

#  include "convenience/values.hpp"
#  include "host/cos_class.hpp"

namespace {

// A method or function of one double output that runs `body`.
template <class Record, class Body>
void outputs(Record& record, int count, Body body) {
    record->outputTypes.assign(std::size_t(count), makeId("double scalar"));
    record->invokeFcn = [body](const COSClient*, int& outputCount, COSValue* out, int inputCount, const COSValue* in) {
        body(outputCount, out, inputCount, in);
    };
}

// A real segfault: the undefined-behaviour sanitizer would report the null store and exit
// first, and the inspector must see the signal.
[[maybe_unused]] __attribute__((no_sanitize("undefined"))) void crash() {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

// Deep enough to overflow any stack (the limit is read at run time, so the compiler
// cannot see that it never ends); the volatile array keeps each frame.
[[maybe_unused]] int recurse(int depth, int limit) {
    volatile char frame[512] = {};
    frame[depth % 512] = char(depth);
    return depth == limit ? 0 : recurse(depth + 1, limit) + frame[0];
}

}  // namespace
#endif

#if PLUGIN_KIND == 5
// A method that overflows the stack; with CRASH_IN_HOOK set, a second class whose
// population crashes.
ORRERY_DEFINE_PLUGIN() {
    auto fine = createClass("crash.Fine");
    auto deep = createMethod("deep");
    outputs(deep, 1, [](int&, COSValue* out, int, const COSValue*) {
        out[0] = values::makeDouble(recurse(0, std::rand() < 0 ? 1 : -1));
    });
    fine->addMethod(deep);
    fine->publish();
    if (!std::getenv("CRASH_IN_HOOK")) return;
    auto bad = createClass("crash.Bad");
    bad->populateClassFcn = [](COSClass*, const COSClient*) { crash(); };
    bad->publish();
}

#elif PLUGIN_KIND == 6
// Says something on standard output, publishes a class, then aborts.
ORRERY_DEFINE_PLUGIN() {
    std::puts("{ not the report");
    std::fflush(stdout);
    createClass("aborting.Seen")->publish();
    std::abort();
}

#elif PLUGIN_KIND == 7
// Never returns from its entry point.
ORRERY_DEFINE_PLUGIN() {
    createClass("hanging.Seen")->publish();
    for (;;) pause();
}

#elif PLUGIN_KIND == 8
// Ends the process from its entry point.
ORRERY_DEFINE_PLUGIN() { std::exit(3); }

#elif PLUGIN_KIND == 9
// A namespace that contains itself, a chain of namespaces thousands of levels deep, and
// two classes that inherit from each other.
std::shared_ptr<COSNamespaceInfoStruct> loop;
struct BreakTheLoop {
    // The loop keeps its record alive: taken apart when the plugin is unloaded.
    ~BreakTheLoop() {
        if (loop) loop->innerNamespaces.clear();
    }
} breakTheLoop;

ORRERY_DEFINE_PLUGIN() {
    loop = createNamespace("loop");
    loop->addFunction(createFunction("f"));
    loop->innerNamespaces.push_back(loop);
    loop->publish();

    auto deep = createNamespace("deep");
    auto level = deep;
    for (int i = 0; i < 3000; ++i) {
        auto inner = createNamespace("d");
        level->addInnerNamespace(inner);
        level = inner;
    }
    deep->publish();

    // Two classes each the other's superclass.
    auto first = createClass("ring.First");
    first->addSuperclass(makeId("ring.Second"), false, 0, false);
    first->addMethod(createMethod("spin"));
    first->publish();
    auto second = createClass("ring.Second");
    second->addSuperclass(makeId("ring.First"), false, 0, false);
    second->publish();
}

#elif PLUGIN_KIND == 10
// Host metadata a plugin wrote by hand, badly: a null pointer and a class without a name.
class Nameless final : public COSClassInfo {
public:
    const char* getName() override { return nullptr; }
    void populateClass(COSClass*, const COSClient*) override {}
};

template <class Info>
class NamelessMember final : public Info {
public:
    const char* getName() override { return nullptr; }
};

ORRERY_DEFINE_PLUGIN() {
    COSClass::addClass(nullptr);
    COSClass::addClass(new Nameless);
    createClass("nulls.Fine")->publish();
    // Members without a name beside ones with: each is a finding, the rest is shown.
    auto members = createClass("nulls.Members");
    members->addProperty(new NamelessMember<COSPropInfo>);
    members->addProperty(createProperty("kept"));
    members->addMethod(new NamelessMember<COSMethodInfo>);
    members->addMethod(createMethod("run"));
    members->publish();
    auto space = createNamespace("nulls");
    space->addFunction(new NamelessMember<COSMethodInfo>);
    space->addFunction(createFunction("f"));
    space->publish();
}

#elif PLUGIN_KIND == 11
// Text and numbers that are hard to show: bytes that are not UTF-8, what Graphviz reads
// specially, numbers that six decimals lose, and a function that returns its argument.
ORRERY_DEFINE_PLUGIN() {
    auto odd = createClass("hostile.Back\\l\"slash");
    odd->description = "caf\xE9 \xF0\x9F\x8C\x8D \xED\xA0\x80 line\nbreak \\N";
    auto tiny = createProperty("tiny");
    tiny->type = makeId("double");
    tiny->factoryDefaultFcn = [] { return values::makeDouble(1e-7); };
    odd->addProperty(tiny);
    odd->publish();

    // Markup in names and text: a page must show it as text, links and ids included.
    const std::string tagName = "hostile.Tag<b>&\"'\xE9";
    auto tag = createClass(tagName.c_str());
    tag->description = "</p><script>alert(1)</script>";
    tag->addSuperclass(makeId("hostile.Back\\l\"slash"), false, 0, false);
    auto markup = createProperty("<i>x</i>");
    markup->type = makeId("double");
    tag->addProperty(markup);
    auto click = createMethod("on\"click");
    click->outputTypes = {makeId(tagName + " scalar")};
    click->outputNames = {"it's"};
    tag->addMethod(click);
    tag->publish();

    auto space = createNamespace("hostile");
    auto numbers = createFunction("numbers");
    outputs(numbers, 3, [](int&, COSValue* out, int, const COSValue*) {
        out[0] = values::makeDouble(1e-7);
        out[1] = values::makeDouble(-2.5e-9);
        out[2] = values::makeDouble(0.1234567);
    });
    space->addFunction(numbers);
    auto echo = createFunction("echo");
    echo->inputTypes = {makeId("any")};
    echo->outputTypes = {makeId("any")};
    echo->invokeFcn = [](const COSClient*, int&, COSValue* out, int, const COSValue* in) { out[0] = in[0]; };
    space->addFunction(echo);
    auto latin1 = createFunction("latin1");
    latin1->invokeFcn = [](const COSClient*, int&, COSValue*, int, const COSValue*) {
        throw std::runtime_error("caf\xE9 au lait");
    };
    space->addFunction(latin1);
    space->addFunction(createFunction("two\nlines\xE9"));
    space->publish();
}

#elif PLUGIN_KIND == 12
// Loads cleanly and publishes nothing.
ORRERY_DEFINE_PLUGIN() {}
#endif
