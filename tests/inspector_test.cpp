// The inspector as its users run it: the example plugins' tree, JSON and diagram against
// golden files (ORRERY_UPDATE_GOLDEN=1 rewrites them), the JSON against its schema, and
// each way a plugin or a command line can go wrong, with its message and exit code.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "convenience/plugin/build_stamp.hpp"
#include "graphviz.hpp"
#include "html_text.hpp"
#include "utf8_repair.hpp"
#include "wire.hpp"

extern char** environ;

namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

namespace fs = std::filesystem;

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a program with the arguments, its outputs caught in files; `environment` entries
// come on top of this process's own.
Result runProgram(std::vector<std::string> words, const std::vector<std::string>& environment = {}) {
    static int serial = 0;
    const fs::path base =
        fs::path(::testing::TempDir()) / ("inspector_" + std::to_string(getpid()) + "_" + std::to_string(++serial));
    const std::string out = base.string() + ".out", err = base.string() + ".err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv, envp;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables(environment);
    for (char** variable = environ; *variable; ++variable) variables.emplace_back(*variable);
    for (auto& variable : variables) envp.push_back(variable.data());  // the first of a name wins
    envp.push_back(nullptr);
    pid_t child = 0;
    Result run;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = readFile(out);
    run.err = readFile(err);
    return run;
}

Result inspect(std::vector<std::string> arguments, const std::vector<std::string>& environment = {}) {
    arguments.insert(arguments.begin(), {INSPECTOR, "--no-progress"});
    return runProgram(std::move(arguments), environment);
}

std::string plugin(const char* name) { return std::string(TEST_PLUGIN_DIR) + "/" + name + ".so"; }

void expectGolden(const std::string& name, const std::string& actual) {
    const fs::path path = fs::path(GOLDEN_DIR) / name;
    if (std::getenv("ORRERY_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, readFile(path)) << "differs from " << path << " (ORRERY_UPDATE_GOLDEN=1 rewrites it)";
}

// clang-format off
const std::vector<std::string> exampleCalls = {
    "--call", "geo.Polygon.unitSquare",
    "--call", "@1.centroid",
    "--call", "geo.util.area", "@1",
    "--call", "observatory.Telescope", "Hale", "5.08",
    "--call", "@2.resolution",
    "--call", "observatory.sky.separation", "0", "0", "90", "0"};
// clang-format on

TEST(Inspector, ExamplePluginsShowTheSameTreeInEveryFormat) {
    std::vector<std::string> arguments = {GEO_PLUGIN, OBSERVATORY_PLUGIN};
    arguments.insert(arguments.end(), exampleCalls.begin(), exampleCalls.end());

    Result text = inspect(arguments);
    EXPECT_EQ(text.exitCode, 0) << text.out << text.err;
    expectGolden("examples.txt", text.out);
    EXPECT_THAT(text.out, AllOf(HasSubstr("  @1 = Output_1: <geo.Polygon object>"), HasSubstr("  cx: 0.5")));

    arguments.push_back("--json");
    Result json = inspect(arguments);
    EXPECT_EQ(json.exitCode, 0) << json.err;
    expectGolden("examples.json", json.out);
    const auto document = nlohmann::json::parse(json.out);
    EXPECT_EQ(document["schema"], "orrery-inspector/1");
    EXPECT_EQ(document["namespaces"][0]["classes"][1]["superclasses"], nlohmann::json::array({"geo.Shape"}));
    EXPECT_EQ(document["calls"][1]["outputs"][1]["value"], "0.5");
    const fs::path saved = fs::path(::testing::TempDir()) / "inspector_examples.json";
    std::ofstream(saved) << json.out;
    Result valid = runProgram({SYSTEM_PYTHON, VALIDATE_JSON, JSON_SCHEMA, saved.string()});
    EXPECT_EQ(valid.exitCode, 0) << valid.out << valid.err;

    const fs::path diagram = fs::path(::testing::TempDir()) / "inspector_examples.dot";
    Result dot = inspect({GEO_PLUGIN, OBSERVATORY_PLUGIN, "--dot", diagram.string()});
    EXPECT_EQ(dot.exitCode, 0) << dot.err;
    EXPECT_EQ(dot.out, inspect({GEO_PLUGIN, OBSERVATORY_PLUGIN}).out);  // the diagram comes on top
    EXPECT_THAT(dot.err, HasSubstr("diagram: " + diagram.string()));
    expectGolden("examples.dot", readFile(diagram));
}

TEST(Inspector, PluginsThatCannotBeLoadedAreNamedAndExitWith3) {
    Result run = inspect({"/nowhere/missing.so", CMAKE_LISTS, NOT_A_PLUGIN, GEO_PLUGIN});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_THAT(run.out, AllOf(HasSubstr("error: plugin /nowhere/missing.so: no such file\n"),
                               HasSubstr(": cannot be loaded as a shared library: "),
                               HasSubstr(": not a plugin: it has no entry point orrery_define_plugin"),
                               HasSubstr("class geo.Polygon < geo.Shape")));  // the good one is still shown
}

TEST(Inspector, PluginsBuiltAgainstAnotherAbiAreRefusedWithBothVersions) {
    Result run = inspect({plugin("other_abi_plugin"), plugin("unstamped_plugin"), GEO_PLUGIN});
    EXPECT_EQ(run.exitCode, 3);
    const std::string ours = std::string(ORRERY_CONVENIENCE_VERSION) + " (ABI " + ORRERY_CONVENIENCE_ABI_TAG + ")";
    EXPECT_THAT(run.out, HasSubstr(": built against orrery_convenience 0.0.7 (ABI orrery_convenience-0.0/" +
                                   std::string(ORRERY_DETAIL_STDLIB_ABI) + "), but the inspector runs " + ours));
    EXPECT_THAT(run.out, HasSubstr("unstamped_plugin.so: it carries no build stamp (orrery_plugin_build_stamp)"));
    // Refused before their entry points ran: nothing of theirs reached the host.
    EXPECT_THAT(run.out, AllOf(Not(HasSubstr("foreign.Never")), Not(HasSubstr("unstamped.Never")),
                               HasSubstr("class geo.Polygon < geo.Shape")));
}

TEST(Inspector, APluginWithItsOwnCopyOfTheLibraryIsLoadedWithAWarning) {
    Result run = inspect({plugin("second_library_plugin"), "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto document = nlohmann::json::parse(run.out);
    ASSERT_EQ(document["findings"].size(), 1u) << run.out;
    const auto& finding = document["findings"][0];
    EXPECT_EQ(finding["severity"], "warning");
    EXPECT_EQ(finding["check"], "second-library");
    EXPECT_EQ(finding["recordKind"], "plugin");
    EXPECT_EQ(finding["recordName"], "second_library_plugin.so");
    EXPECT_THAT(finding["message"].get<std::string>(),
                AllOf(HasSubstr("its own copy of the library (in "), HasSubstr("second_library_plugin.so) beside"),
                      HasSubstr("liborrery_convenience.so")));
    EXPECT_EQ(document["classes"][0]["id"], "copy.Own");
    // The geo plugin uses the inspector's own library: no warning.
    EXPECT_EQ(nlohmann::json::parse(inspect({GEO_PLUGIN, "--json"}).out)["findings"].size(), 0u);
}

TEST(Inspector, FailingPluginCodeIsReportedWithItsErrorAndExitsWith4) {
    Result entry = inspect({plugin("entry_host_error_plugin"), plugin("entry_std_error_plugin")});
    EXPECT_EQ(entry.exitCode, 4);
    EXPECT_THAT(entry.out,
                AllOf(HasSubstr("error: plugin entry_host_error_plugin.so: the entry point: Property "
                                "early.Published.x is read-only. [LUMEN:orrery_typed:ReadOnlyProperty]\n"),
                      HasSubstr("error: plugin entry_std_error_plugin.so: the entry point: the plugin's settings "
                                "file is missing\n"),
                      Not(HasSubstr("\nclass early.Published")), HasSubstr("0 classes")));

    Result hooks = inspect({plugin("throwing_hooks_plugin"), "--call", "hooks.Fine.run", "1"});
    EXPECT_EQ(hooks.exitCode, 4);
    EXPECT_THAT(
        hooks.out,
        AllOf(HasSubstr("error: class hooks.Broken: cannot set up Broken\n"),
              HasSubstr("class hooks.Fine  - Sets up, then fails when used\n    Its default and its method throw.\n"),
              HasSubstr("  property    size  double  default (failed)\n"),
              HasSubstr("error: property hooks.Fine.size: Method hooks.Fine.size is abstract"),
              HasSubstr("[LUMEN:orrery_typed:AbstractMember]"), HasSubstr("error: namespace tools: "),
              HasSubstr("[LUMEN:orrery_typed:CppException]"),
              HasSubstr("call hooks.Fine.run 1\n  error: run: nothing to run\n")));
}

TEST(Inspector, CallsThatFailSayWhyAndExitWith5) {
    Result run = inspect({GEO_PLUGIN,
                          OBSERVATORY_PLUGIN,
                          "--call",
                          "geo.Nothing",
                          "--call",
                          "geo.Polygon.unitSquare",
                          "--call",
                          "@1.addVertex",
                          "1",
                          "--call",
                          "@2.area",
                          "--call",
                          "geo.Polygon",
                          "tri",
                          "--call",
                          "@2.centroid",
                          "--call",
                          "observatory.Observation",
                          "--call",
                          "observatory.sky.separation",
                          "1"});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_THAT(run.out,
                AllOf(HasSubstr("call geo.Nothing\n  error: no class, method or function is named geo.Nothing\n"),
                      // The callables check their inputs themselves.
                      HasSubstr("  error: geo.Polygon.addVertex takes 3 inputs (self, x, y), but was given 2. "
                                "[LUMEN:orrery_typed:WrongInputCount]\n"),
                      HasSubstr("call @2.area\n  error: @2 names no object: 1 object returned so far\n"),
                      HasSubstr("@2 = Output: <geo.Polygon object>"), HasSubstr("call @2.centroid\n  error: ")));
    EXPECT_THAT(run.out, HasSubstr("encloses no area"));
    EXPECT_THAT(run.out, HasSubstr("call observatory.Observation\n  error: Objects of class 'observatory.Observation' "
                                   "cannot be constructed. [LUMEN:orrery_convenience:ConstructorNotSupported]\n"));
    EXPECT_THAT(run.out, HasSubstr("  error: observatory.sky.separation takes 4 inputs, not 1\n"));
}

TEST(Inspector, WhatOutlivesThePluginsIsNamedAndExitsWith6) {
    // The leak is deliberate: the leak checker of a sanitizer build must not end the run first.
    Result run = inspect({plugin("leaky_plugin")}, {"ASAN_OPTIONS=detect_leaks=0"});
    EXPECT_EQ(run.exitCode, 6);
    EXPECT_THAT(run.out, HasSubstr("error: still alive after the plugins were unloaded: records: class "
                                   "\"leaky.Lost\", property \"x\"\n"));
    EXPECT_THAT(run.out, HasSubstr("class leaky.Kept"));
}

TEST(Inspector, ANamePublishedTwiceIsShownOnceAndTheSecondIsAWarning) {
    Result run = inspect({GEO_PLUGIN, GEO_PLUGIN});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, HasSubstr("warning: namespace \"geo\": an earlier namespace of that name hides this one: "
                                   "the host finds only the first [hidden-name]\n"));
    EXPECT_THAT(run.out, HasSubstr("2 plugins: 2 namespaces, 2 classes,"));
}

TEST(Inspector, CommandLineHelpAndMistakes) {
    Result help = inspect({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, AllOf(HasSubstr("ORRERY_DEFINE_PLUGIN"), HasSubstr("--call"), HasSubstr("Exit codes:")));

    Result none = inspect({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_THAT(none.err, HasSubstr("plugins is required"));
    Result unknown = inspect({GEO_PLUGIN, "--colour"});
    EXPECT_EQ(unknown.exitCode, 2);
    for (const char* seconds : {"nan", "-1", "inf", "1e999", "soon", ""}) {
        Result timeout = inspect({GEO_PLUGIN, "--timeout", seconds});
        EXPECT_EQ(timeout.exitCode, 2) << seconds;
        EXPECT_THAT(timeout.err, HasSubstr(std::string("--timeout: not a number of seconds (0 or more, 0 for no "
                                                       "limit): '") +
                                           seconds + "'"));
    }

    // The version a refused plugin is compared with: the library's, not the tool's own.
    Result version = inspect({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("orrery-inspect ") + ORRERY_CONVENIENCE_VERSION + " (ABI " +
                               ORRERY_CONVENIENCE_ABI_TAG + "; JSON schema orrery-inspector/1)\n");
}

// A sanitizer would catch the crash itself and exit 1; the kernel's signal is what is
// tested here. The plugins that die leave their memory behind on purpose.
const std::vector<std::string> letItCrash = {"ASAN_OPTIONS=handle_segv=0:handle_abort=0:detect_leaks=0"};

TEST(Inspector, APluginThatKillsItsProcessIsNamedWithTheStepAndTheSignalAndExitsWith4) {
    Result hook = inspect({plugin("crashing_plugin")}, {"CRASH_IN_HOOK=1", letItCrash[0]});
    EXPECT_EQ(hook.exitCode, 4) << hook.err;
    EXPECT_THAT(hook.out, AllOf(HasSubstr("plugin crashing_plugin.so: class crash.Fine, class crash.Bad\n"),
                                HasSubstr("\nclass crash.Fine\n"),  // pulled in before the crash
                                HasSubstr("error: plugin crashing_plugin.so: pulling in class crash.Bad: the process "
                                          "running it was killed by signal 11 (SIGSEGV: Segmentation fault)")));

    Result overflow = inspect({plugin("crashing_plugin"), "--json", "--call", "crash.Fine.deep"}, letItCrash);
    EXPECT_EQ(overflow.exitCode, 4) << overflow.err;
    const auto document = nlohmann::json::parse(overflow.out);
    EXPECT_EQ(document["classes"][0]["id"], "crash.Fine");
    ASSERT_EQ(document["errors"].size(), 1u);
    EXPECT_EQ(document["errors"][0]["where"], "plugin crashing_plugin.so: call crash.Fine.deep");
    EXPECT_THAT(document["errors"][0]["message"].get<std::string>(), HasSubstr("SIGSEGV"));

    // What it printed on standard output is kept out of the report.
    Result abort = inspect({plugin("aborting_plugin"), GEO_PLUGIN, "--json"}, letItCrash);
    EXPECT_EQ(abort.exitCode, 4);
    const auto aborted = nlohmann::json::parse(abort.out);
    // The plugin after it never ran, and is named as such.
    EXPECT_EQ(aborted["plugins"], nlohmann::json::parse(R"([{"file": "aborting_plugin.so", "loaded": false,
                                                             "namespaces": [], "classes": []},
                                                            {"file": "geo_plugin.so", "loaded": false,
                                                             "namespaces": [], "classes": []}])"));
    ASSERT_EQ(aborted["errors"].size(), 2u);
    EXPECT_EQ(aborted["errors"][0]["where"], "plugin aborting_plugin.so: the entry point");
    EXPECT_EQ(aborted["errors"][0]["message"], "the process running it was killed by signal 6 (SIGABRT: Aborted)");
    EXPECT_EQ(aborted["errors"][1]["where"], "plugin geo_plugin.so");
    EXPECT_EQ(aborted["errors"][1]["message"], "not inspected: the process running the plugins ended before its turn");
    EXPECT_THAT(abort.err, HasSubstr("{ not the report"));

    Result exit = inspect({plugin("exiting_plugin")});
    EXPECT_EQ(exit.exitCode, 4);
    EXPECT_THAT(exit.out, HasSubstr("error: plugin exiting_plugin.so: the entry point: the process running it exited "
                                    "with status 3 before the inspection finished\n"));

    Result hang = inspect({plugin("hanging_plugin"), "--timeout", "0.5"});
    EXPECT_EQ(hang.exitCode, 4);
    EXPECT_THAT(hang.out, AllOf(HasSubstr("plugin hanging_plugin.so (failed): published nothing\n"),
                                HasSubstr("error: plugin hanging_plugin.so: the entry point: did not finish within 0.5 "
                                          "s (--timeout); stopped with signal 9 (SIGKILL: Killed)\n")));
    // A load failure is still the smaller code, and is not taken for a plugin that never ran.
    Result missing = inspect({"/nowhere/missing.so", plugin("exiting_plugin"), GEO_PLUGIN});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_THAT(missing.out, AllOf(HasSubstr("error: plugin /nowhere/missing.so: "),
                                   HasSubstr("error: plugin geo_plugin.so: not inspected: the process running the "
                                             "plugins ended before its turn\n")));
    EXPECT_THAT(missing.out, Not(HasSubstr("error: plugin missing.so")));
}

TEST(Inspector, WalksAndWritersStopAtCyclesAndAtAbsurdDepth) {
    const fs::path diagram = fs::path(::testing::TempDir()) / "inspector_nesting.dot";
    Result text = inspect({plugin("nesting_plugin"), "--dot", diagram.string()});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_THAT(text.out,
                AllOf(HasSubstr("warning: namespace \"loop.loop\": the namespace contains itself [namespace-cycle]\n"),
                      HasSubstr("namespaces nest deeper than 100 levels: the walk stops here [too-deep]\n"),
                      HasSubstr("warning: class \"ring.First\": the class inherits from itself through ring.Second: "
                                "the host takes each class once and cuts the cycle there [superclass-cycle]\n"),
                      HasSubstr("warning: class \"ring.Second\": the class inherits from itself through ring.First: "
                                "the host takes each class once and cuts the cycle there [superclass-cycle]\n"),
                      HasSubstr("1 plugin: 101 namespaces, 2 classes, 0 properties, 1 method, 0 constructors, 1 "
                                "function; 0 errors, 4 warnings")));
    EXPECT_THAT(readFile(diagram), HasSubstr("subgraph \"cluster deep.d.d"));

    Result json = inspect({plugin("nesting_plugin"), "--json"});
    EXPECT_EQ(json.exitCode, 0);
    const auto document = nlohmann::json::parse(json.out);
    ASSERT_EQ(document["namespaces"].size(), 2u);
    std::size_t levels = 1;
    for (const auto* space = &document["namespaces"][1]; !(*space)["namespaces"].empty();
         space = &(*space)["namespaces"][0])
        ++levels;
    EXPECT_EQ(levels, 100u);
    EXPECT_TRUE(document["namespaces"][0]["namespaces"].empty());  // the loop, not followed
}

TEST(Inspector, NullAndNamelessMetadataAreFindingsAndTheRestIsShown) {
    Result run = inspect({plugin("null_metadata_plugin")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out,
                AllOf(HasSubstr("plugin null_metadata_plugin.so: namespace nulls, class (null name), class nulls.Fine, "
                                "class nulls.Members\n"),
                      HasSubstr("\nclass nulls.Fine\n"),
                      HasSubstr("warning: class \"(null)\": the plugin registered a null class metadata "
                                "pointer: there is nothing to inspect [null-entry]\n"),
                      HasSubstr("warning: class \"(null name)\": the class metadata's name is a null pointer "
                                "[empty-name]\n")));

    // Members and functions without a name: a finding each, and their neighbours are shown.
    Result json = inspect({plugin("null_metadata_plugin"), "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    const auto document = nlohmann::json::parse(json.out);
    std::vector<std::string> nameless;
    for (const auto& finding : document["findings"])
        if (finding["check"] == "empty-name")
            nameless.push_back(finding["recordKind"].get<std::string>() + " " +
                               finding["recordName"].get<std::string>());
    EXPECT_THAT(nameless, UnorderedElementsAre("class (null name)", "property nulls.Members.(null name)",
                                               "method nulls.Members.(null name)", "function nulls.(null name)"));
    const auto& members = document["classes"][1];
    ASSERT_EQ(members["id"], "nulls.Members");
    EXPECT_EQ(members["properties"].size(), 2u);
    EXPECT_EQ(members["methods"].size(), 2u);
    EXPECT_EQ(document["namespaces"][0]["functions"].size(), 2u);
}

TEST(Inspector, StrictFailsOnWarningsAndOnAPluginThatPublishedNothing) {
    EXPECT_EQ(inspect({GEO_PLUGIN, "--strict"}).exitCode, 0);
    EXPECT_EQ(inspect({plugin("quiet_plugin")}).exitCode, 0);
    Result quiet = inspect({plugin("quiet_plugin"), GEO_PLUGIN, "--strict"});
    EXPECT_EQ(quiet.exitCode, 7);
    EXPECT_THAT(quiet.out, HasSubstr("plugin quiet_plugin.so: published nothing\n"));
    EXPECT_EQ(inspect({GEO_PLUGIN, GEO_PLUGIN, "--strict"}).exitCode, 7);  // a hidden-name warning
    EXPECT_EQ(inspect({plugin("null_metadata_plugin"), "--strict"}).exitCode, 7);
    // A failure is the smaller code.
    EXPECT_EQ(inspect({plugin("quiet_plugin"), "--strict", "--call", "nowhere"}).exitCode, 5);
}

TEST(Inspector, UnknownCallNamesGetTheClosestNames) {
    Result run = inspect({GEO_PLUGIN, "--call", "geo.Polgon", "--call", "geo.Polygon.centriod", "--call",
                          "geo.Polygon.unitSquare", "--call", "@1.adVertex", "1", "2", "--call", "nothing.like.it"});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_THAT(
        run.out,
        AllOf(HasSubstr("  error: no class, method or function is named geo.Polgon; did you mean geo.Polygon?\n"),
              HasSubstr("  error: class geo.Polygon has no method or property centriod; did you mean "
                        "geo.Polygon.centroid?\n"),
              HasSubstr("  error: @1 (geo.Polygon) has no method or property adVertex; did you mean addVertex?\n"),
              HasSubstr("  error: no class, method or function is named nothing.like.it\n")));
}

TEST(Inspector, AnyWordCanBeACallArgument) {
    Result run = inspect({plugin("hostile_text_plugin"),
                          "--call",
                          "hostile.echo",
                          "",
                          "--call",
                          "hostile.echo",
                          "-inf",
                          "--call",
                          "hostile.echo",
                          "-x",
                          "--call",
                          "hostile.echo",
                          "-5",
                          "--call",
                          "hostile.echo",
                          "inf",
                          "--call",
                          "hostile.echo",
                          "\"--x\"",
                          "--call=hostile.echo",
                          "\"\"",
                          "--no-progress"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_THAT(run.out, AllOf(HasSubstr("call hostile.echo \n  Output_1: \"\"\n"),
                               HasSubstr("call hostile.echo -inf\n  Output_1: -inf\n"),
                               HasSubstr("call hostile.echo -x\n  Output_1: \"-x\"\n"),
                               HasSubstr("call hostile.echo -5\n  Output_1: -5\n"),
                               HasSubstr("call hostile.echo inf\n  Output_1: inf\n"),
                               HasSubstr("call hostile.echo \"--x\"\n  Output_1: \"--x\"\n"),
                               HasSubstr("call hostile.echo \"\"\n  Output_1: \"\"\n")));

    Result nameless = inspect({GEO_PLUGIN, "--call", "--json"});
    EXPECT_EQ(nameless.exitCode, 2);
    EXPECT_THAT(nameless.err, HasSubstr("--call needs the name of a class, method or function"));
}

TEST(Inspector, NumbersReadBackAsTheSameDouble) {
    Result run = inspect({plugin("hostile_text_plugin"), "--json", "--call", "hostile.numbers"});
    EXPECT_EQ(run.exitCode, 0);
    const auto document = nlohmann::json::parse(run.out);
    std::vector<double> values;
    for (const auto& output : document["calls"][0]["outputs"])
        values.push_back(std::strtod(output["value"].get<std::string>().c_str(), nullptr));
    EXPECT_THAT(values, ElementsAre(1e-7, -2.5e-9, 0.1234567));
    const auto& tiny = document["classes"][0]["properties"][0];
    EXPECT_EQ(std::strtod(tiny["default"].get<std::string>().c_str(), nullptr), 1e-7);

    Result text = inspect({plugin("hostile_text_plugin"), "--call", "hostile.numbers"});
    EXPECT_THAT(text.out, AllOf(HasSubstr("  Output_1: 1e-07\n  Output_2: -2.5e-09\n  Output_3: 0.1234567\n"),
                                HasSubstr("property    tiny  double  default 1e-07\n")));
}

TEST(Inspector, JsonIsUtf8WhateverBytesComeInAndFlagsWhatWasRepaired) {
    Result run = inspect(
        {plugin("hostile_text_plugin"), "--json", "--call", "hostile.latin1", "--call", "hostile.echo", "caf\xE9"});
    EXPECT_EQ(run.exitCode, 5) << run.err;
    const auto document = nlohmann::json::parse(run.out);
    const auto& cls = document["classes"][0];
    // One replacement for each maximal subpart: E9 alone, then ED A0 80 as three.
    EXPECT_EQ(cls["description"], "caf\uFFFD \U0001F30D \uFFFD\uFFFD\uFFFD line\nbreak \\N");
    EXPECT_EQ(cls["invalidUtf8"], nlohmann::json::array({"description"}));
    EXPECT_FALSE(document["namespaces"][0].contains("invalidUtf8"));
    EXPECT_EQ(document["calls"][0]["error"]["message"], "caf\uFFFD au lait");
    EXPECT_EQ(document["calls"][0]["error"]["invalidUtf8"], nlohmann::json::array({"message"}));
    EXPECT_EQ(document["calls"][1]["command"][1], "caf\uFFFD");
    EXPECT_EQ(document["calls"][1]["invalidUtf8"], nlohmann::json::array({"command"}));

    const fs::path saved = fs::path(::testing::TempDir()) / "inspector_hostile.json";
    std::ofstream(saved) << run.out;
    Result valid = runProgram({SYSTEM_PYTHON, VALIDATE_JSON, JSON_SCHEMA, saved.string()});
    EXPECT_EQ(valid.exitCode, 0) << valid.out << valid.err;
}

TEST(Inspector, DiagramLabelsKeepBackslashesQuotesAndLineEndsAsText) {
    const fs::path diagram = fs::path(::testing::TempDir()) / "inspector_hostile.dot";
    Result run = inspect({plugin("hostile_text_plugin"), "--dot", diagram.string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // \l would end a line and \N name the node: doubled, they are the text they are. A
    // line end is Graphviz's, and a byte that is not UTF-8 (Graphviz reads UTF-8) U+FFFD.
    EXPECT_THAT(
        readFile(diagram),
        AllOf(HasSubstr("  \"hostile.Back\\\\l\\\"slash\" [label=\"Back\\\\l\\\"slash\\n1 property, 0 methods\"];\n"),
              HasSubstr("[shape=ellipse, label=\"two\\nlines\uFFFD()\"];\n")));
    const fs::path svg = fs::path(diagram).replace_extension(".svg");
    if (fs::exists(svg)) {  // Graphviz is installed: it shows the label as it was given
        EXPECT_THAT(readFile(svg), HasSubstr(">Back\\l&quot;slash</text>"));
    }
}

// The files of an HTML reference, by their path relative to its directory.
std::map<std::string, std::string> referenceFiles(const fs::path& directory) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(directory))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), directory).generic_string()] = readFile(entry);
    return files;
}

std::vector<std::string> attributeValues(const std::string& page, const std::string& attribute) {
    static const std::regex pattern(R"re(\s(href|src|id)="([^"]*)")re");
    std::vector<std::string> values;
    for (auto match = std::sregex_iterator(page.begin(), page.end(), pattern); match != std::sregex_iterator(); ++match)
        if ((*match)[1] == attribute) values.push_back((*match)[2]);
    return values;
}

// Every address in every page names a file of the reference and, after a #, an id in it;
// no id is given twice on a page.
void expectLinksResolve(const std::map<std::string, std::string>& files) {
    for (const auto& [name, page] : files) {
        if (!name.ends_with(".html")) continue;
        const auto ids = attributeValues(page, "id");
        EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size()) << "an id twice in " << name;
        auto targets = attributeValues(page, "href");
        for (const auto& source : attributeValues(page, "src")) targets.push_back(source);
        for (const auto& target : targets) {
            if (target == "data:,") continue;
            const auto hash = target.find('#');
            const std::string file = target.substr(0, hash),
                              anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
            const std::string path =
                file.empty() ? name : fs::path(fs::path(name).parent_path() / file).lexically_normal().generic_string();
            const auto linked = files.find(path);
            ASSERT_NE(linked, files.end()) << target << " in " << name;
            if (!anchor.empty()) {
                EXPECT_THAT(linked->second, HasSubstr(" id=\"" + anchor + "\"")) << target << " in " << name;
            }
        }
    }
}

// Tidy finds no error; its only warnings are about SVG 2's href on the diagram's links,
// which it does not know.
void expectTidy(const std::map<std::string, std::string>& files, const fs::path& directory) {
    const std::string tidy = orrery::inspector::findOnPath("tidy");
    ASSERT_FALSE(tidy.empty()) << "HTML Tidy is not installed (./dev test installs it)";
    for (const auto& [name, page] : files) {
        if (!name.ends_with(".html")) continue;
        Result run = runProgram({tidy, "-q", "-e", (directory / name).string()});
        EXPECT_LT(run.exitCode, 2) << name << ":\n" << run.err;
        std::stringstream lines(run.err);
        for (std::string line; std::getline(lines, line);)
            EXPECT_THAT(line, HasSubstr("Warning: <a> proprietary attribute \"href\"")) << name;
    }
}

// The JSON that search.js assigns.
nlohmann::json searchData(const std::string& script) {
    const std::string prefix = "window.orreryReference = ";
    EXPECT_TRUE(script.starts_with(prefix) && script.ends_with(";\n"));
    return nlohmann::json::parse(script.substr(prefix.size(), script.size() - prefix.size() - 2));
}

TEST(InspectorHtml, TheExamplesReferenceShowsEveryClassAndMemberAndEveryLinkResolves) {
    const fs::path directory = fs::path(::testing::TempDir()) / "inspector_reference";
    fs::remove_all(directory);
    Result run = inspect({GEO_PLUGIN, OBSERVATORY_PLUGIN, "--json", "--html", directory.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("reference: " + (directory / "index.html").string()));
    const auto document = nlohmann::json::parse(run.out);
    const auto files = referenceFiles(directory);
    const auto search = searchData(files.at("search.js"));
    const std::string& index = files.at("index.html");
    using orrery::inspector::htmlText;
    using orrery::inspector::slug;

    std::vector<nlohmann::json> spaces(document["namespaces"].begin(), document["namespaces"].end());
    std::set<std::string> searchable;
    for (const auto& cls : search["classes"]) {
        searchable.insert(cls[0].get<std::string>());
        for (const auto& member : cls[2])
            searchable.insert(cls[0].get<std::string>() + "." + member[1].get<std::string>());
    }
    for (const auto& function : search["functions"]) searchable.insert(function[0].get<std::string>());
    std::size_t classes = 0;
    while (!spaces.empty()) {
        const auto space = spaces.back();
        spaces.pop_back();
        spaces.insert(spaces.end(), space["namespaces"].begin(), space["namespaces"].end());
        const std::string path = space["path"];
        EXPECT_THAT(index, HasSubstr("<h2>namespace " + path + "</h2>"));
        for (const auto& function : space["functions"]) {
            const std::string id = "f-" + slug(path + "." + function["name"].get<std::string>());
            EXPECT_THAT(index, HasSubstr("<article class=\"member\" id=\"" + id + "\">"));
            EXPECT_TRUE(searchable.count(path + "." + function["name"].get<std::string>())) << id;
        }
        for (const auto& cls : space["classes"]) {
            ++classes;
            const std::string id = cls["id"], file = "classes/" + slug(id) + ".html";
            EXPECT_THAT(index, HasSubstr("<a href=\"" + file + "\">" + id + "</a>"));
            ASSERT_TRUE(files.count(file)) << file;
            const std::string& page = files.at(file);
            EXPECT_THAT(page, HasSubstr("<h1><span class=\"kind\">class</span> " + id + "</h1>"));
            EXPECT_TRUE(searchable.count(id)) << id;
            for (const auto& [list, kind] : {std::pair{"constructors", "c"},
                                             {"properties", "p"},
                                             {"methods", "m"},
                                             {"inheritedProperties", "p"},
                                             {"inheritedMethods", "m"}}) {
                for (const auto& member : cls[list]) {
                    const std::string name = member["name"], anchor = std::string(kind) + "-" + slug(name);
                    EXPECT_THAT(page, HasSubstr("id=\"" + anchor + "\">\n<h3><a class=\"name\" href=\"#" + anchor +
                                                "\">" + htmlText(name) + "</a>"));
                    if (member["inheritedFrom"].is_string()) {
                        const std::string owner = member["inheritedFrom"];
                        EXPECT_THAT(page, HasSubstr("Inherited from <a href=\"" + slug(owner) + ".html#" + anchor +
                                                    "\">" + owner + "</a>"));
                    } else {
                        EXPECT_TRUE(searchable.count(id + "." + name)) << id << "." << name;
                    }
                }
            }
        }
    }
    EXPECT_EQ(classes, 5u);
    expectLinksResolve(files);

    // Superclasses and subclasses link each other; a class in a signature links its page.
    const std::string& polygon = files.at("classes/geo.Polygon.html");
    EXPECT_THAT(polygon, AllOf(HasSubstr("<dt>Superclasses</dt><dd><a href=\"geo.Shape.html\">geo.Shape</a></dd>"),
                               HasSubstr("<h3><a class=\"name\" href=\"#m-unitSquare\">unitSquare</a><span "
                                         "class=\"sig\">() &rarr; (<span class=\"type\"><a "
                                         "href=\"geo.Polygon.html\">geo.Polygon</a> scalar</span> Output_1)")));
    EXPECT_THAT(files.at("classes/geo.Shape.html"),
                HasSubstr("<dt>Subclasses</dt><dd><a href=\"geo.Polygon.html\">geo.Polygon</a></dd>"));
    EXPECT_THAT(index, HasSubstr("area</a><span class=\"sig\">(<span class=\"type\"><a "
                                 "href=\"classes/geo.Polygon.html\">geo.Polygon</a> scalar</span> polygon)"));
    if (!orrery::inspector::findOnPath("dot").empty()) {
        EXPECT_THAT(index, AllOf(HasSubstr("<figure>\n<svg"), HasSubstr("<a href=\"classes/geo.Polygon.html\"")));
        EXPECT_THAT(index, AllOf(Not(HasSubstr("<?xml")), Not(HasSubstr("<!--")), Not(HasSubstr("xlink:"))));
    }
    expectTidy(files, directory);

    // Without Graphviz the page says so, and the rest is the same.
    const fs::path plain = fs::path(::testing::TempDir()) / "inspector_reference_plain";
    fs::remove_all(plain);
    Result without = inspect({GEO_PLUGIN, OBSERVATORY_PLUGIN, "--html", plain.string()}, {"PATH=/nonexistent"});
    ASSERT_EQ(without.exitCode, 0) << without.err;
    const std::string plainIndex = readFile(plain / "index.html");
    EXPECT_THAT(plainIndex, AllOf(HasSubstr("drawn with Graphviz, which is not installed"), Not(HasSubstr("<svg"))));
    EXPECT_EQ(readFile(plain / "classes/geo.Polygon.html"), polygon);
}

TEST(InspectorHtml, MarkupAndBrokenUtf8InNamesStayText) {
    const fs::path directory = fs::path(::testing::TempDir()) / "inspector_hostile_reference";
    fs::remove_all(directory);
    Result run = inspect({plugin("hostile_text_plugin"), "--html", directory.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto files = referenceFiles(directory);
    // Names become file names and ids of letters, digits, '.', '-' and _HH alone.
    const std::string tagFile = "classes/hostile.Tag_3Cb_3E_26_22_27_E9.html";
    ASSERT_TRUE(files.count(tagFile)) << run.err;
    ASSERT_TRUE(files.count("classes/hostile.Back_5Cl_22slash.html"));
    const std::string& tag = files.at(tagFile);
    EXPECT_THAT(
        tag, AllOf(HasSubstr("<h1><span class=\"kind\">class</span> hostile.Tag&lt;b&gt;&amp;&quot;&#39;\uFFFD</h1>"),
                   HasSubstr("<p class=\"lead\">&lt;/p&gt;&lt;script&gt;alert(1)&lt;/script&gt;</p>"),
                   HasSubstr("id=\"p-_3Ci_3Ex_3C_2Fi_3E\">\n<h3><a class=\"name\" "
                             "href=\"#p-_3Ci_3Ex_3C_2Fi_3E\">&lt;i&gt;x&lt;/i&gt;</a>"),
                   HasSubstr("href=\"#m-on_22click\">on&quot;click</a>"),
                   HasSubstr("<a href=\"hostile.Tag_3Cb_3E_26_22_27_E9.html\">hostile.Tag&lt;b&gt;&amp;&quot;"
                             "&#39;\uFFFD</a> scalar</span> it&#39;s)"),
                   HasSubstr("<a href=\"hostile.Back_5Cl_22slash.html\">hostile.Back\\l&quot;slash</a>")));
    for (const auto& [name, text] : files) {
        bool changed = false;
        orrery::inspector::repairUtf8(text, changed);
        EXPECT_FALSE(changed) << name << " is not UTF-8";
        if (name.ends_with(".html")) {  // search.js holds the names as JSON strings
            EXPECT_THAT(text, AllOf(Not(HasSubstr("<b>")), Not(HasSubstr("<i>")), Not(HasSubstr("<script>alert"))))
                << name;
        }
    }
    EXPECT_THAT(files.at("classes/hostile.Back_5Cl_22slash.html"),
                HasSubstr("<p class=\"lead\">caf\uFFFD \U0001F30D \uFFFD\uFFFD\uFFFD line\nbreak \\N</p>"));
    const auto search = searchData(files.at("search.js"));
    EXPECT_EQ(search["classes"][1][0], "hostile.Tag<b>&\"'\uFFFD");
    EXPECT_EQ(search["classes"][1][2][0], nlohmann::json::array({"p", "<i>x</i>", "p-_3Ci_3Ex_3C_2Fi_3E"}));
    EXPECT_EQ(search["functions"][3], nlohmann::json::array({"hostile.two\nlines\uFFFD", "f-hostile.two_0Alines_E9"}));
    expectLinksResolve(files);
    expectTidy(files, directory);
}

TEST(InspectorHtml, AReferenceThatCannotBeWrittenExitsWith1) {
    const fs::path file = fs::path(::testing::TempDir()) / "inspector_reference_file";
    std::ofstream(file) << "a file, not a directory";
    Result run = inspect({GEO_PLUGIN, "--html", (file / "inner").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("orrery-inspect: cannot write the reference: "));
}

TEST(InspectorText, SlugsAreDistinctForDistinctNamesAndNeedNoEscaping) {
    using orrery::inspector::slug;
    EXPECT_EQ(slug("geo.Polygon-2"), "geo.Polygon-2");
    EXPECT_EQ(slug(""), "_");
    // '_' is escaped too, so that a name cannot spell another's escape.
    EXPECT_NE(slug("a_2Fb"), slug("a/b"));
    EXPECT_EQ(slug("a/b"), "a_2Fb");
    EXPECT_EQ(slug("\xFF\x01 #"), "_FF_01_20_23");
}

TEST(InspectorText, Utf8RepairReplacesEachMaximalSubpart) {
    using orrery::inspector::repairUtf8;
    bool changed = true;
    EXPECT_EQ(repairUtf8("plain \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF", changed),
              "plain \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF");
    EXPECT_FALSE(changed);
    const std::string fffd = "\xEF\xBF\xBD";
    // Unicode's own example: a truncated four-byte sequence is one subpart, a stray
    // continuation byte another.
    EXPECT_EQ(repairUtf8("\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64", changed),
              "a" + fffd + fffd + fffd + "b" + fffd + "c" + fffd + fffd + "d");
    EXPECT_TRUE(changed);
    EXPECT_EQ(repairUtf8("\xC0\xAF", changed), fffd + fffd);  // overlong
    EXPECT_EQ(repairUtf8("\xED\xA0\x80\xED\xBF\xBF", changed), fffd + fffd + fffd + fffd + fffd + fffd);  // surrogates
    EXPECT_EQ(repairUtf8("\xF4\x90\x80\x80", changed), fffd + fffd + fffd + fffd);  // past U+10FFFF
    EXPECT_EQ(repairUtf8("end \xE2\x82", changed), "end " + fffd);
    EXPECT_EQ(repairUtf8("\xFF\xFE", changed), fffd + fffd);
}

TEST(InspectorText, ATruncatedOrCorruptReportFrameIsRefused) {
    using namespace orrery::inspector;
    CallReport call{{"geo.Polygon", "tri"}, {{"Output", "<geo.Polygon object>", "@1"}}, Problem{"call", "why", "a:b"}};
    const std::string frame = wire::FrameWriter(wire::Kind::call).put(call).bytes();
    for (std::size_t size = 0; size < frame.size(); ++size)
        EXPECT_EQ(wire::FrameReader::complete(std::string_view(frame).substr(0, size)), 0u);
    ASSERT_EQ(wire::FrameReader::complete(frame), frame.size());
    wire::FrameReader reader(frame);
    CallReport back;
    reader.get(back);
    EXPECT_EQ(back.command, call.command);
    EXPECT_EQ(back.outputs[0].handle, "@1");
    EXPECT_EQ(back.error->id, "a:b");

    std::string corrupt = frame;
    corrupt[5] = '\x7F';  // the command's word count, now far past the frame's end
    wire::FrameReader bad(corrupt);
    EXPECT_THROW(bad.get(back), wire::Malformed);
    EXPECT_THROW(wire::FrameReader::complete(std::string("\xFF\xFF\xFF\x7F", 4)), wire::Malformed);
}

}  // namespace
