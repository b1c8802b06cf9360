// The inspector as its users run it: the example plugins' tree, JSON and diagram against
// golden files (ORRERY_UPDATE_GOLDEN=1 rewrites them), the JSON against its schema, and
// each way a plugin or a command line can go wrong, with its message and exit code.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "convenience/plugin/build_stamp.hpp"

extern char** environ;

namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

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
                      HasSubstr("  error: geo.Polygon.addVertex takes 3 inputs (self, x, y), 2 given\n"),
                      HasSubstr("call @2.area\n  error: @2 names no object: 1 object returned so far\n"),
                      HasSubstr("@2 = Output: <geo.Polygon object>"), HasSubstr("call @2.centroid\n  error: ")));
    EXPECT_THAT(run.out, HasSubstr("encloses no area"));
    EXPECT_THAT(run.out, HasSubstr("call observatory.Observation\n  error: Objects of class 'observatory.Observation' "
                                   "cannot be constructed. [LUMEN:orrery_convenience:ConstructorNotSupported]\n"));
    EXPECT_THAT(run.out, HasSubstr("  error: observatory.sky.separation takes 4 inputs (Input_1, Input_2, Input_3, "
                                   "Input_4), 1 given\n"));
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
}

}  // namespace
