// orrery-inspect: shows what the host sees of class-definition plugins. See --help.
#include <sys/resource.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "call_words.hpp"
#include "convenience/plugin/build_stamp.hpp"
#include "exit_codes.hpp"
#include "graphviz.hpp"
#include "reports.hpp"
#include "session.hpp"

namespace {

using namespace orrery::inspector;

const char* const kDescription = R"(Loads class-definition plugins (shared libraries with an ORRERY_DEFINE_PLUGIN entry
point) into the reference host and shows what the host sees of them: namespaces, classes,
properties, methods, constructors and functions with their signatures, and what looks wrong
with the definitions.)";

const char* const kFooter = R"(Examples:
  orrery-inspect geo_plugin.so                         the tree the host sees
  orrery-inspect geo_plugin.so --json                  the same as JSON (schema orrery-inspector/1)
  orrery-inspect geo_plugin.so --dot geo.dot           also a Graphviz diagram (and geo.svg with Graphviz)
  orrery-inspect geo_plugin.so --html reference        also a browsable reference: reference/index.html
  orrery-inspect geo_plugin.so --call geo.Polygon.unitSquare --call @1.centroid

--call NAME ARG... (repeatable; runs after the tree is pulled in):
  NAME is a class (constructs one), Class.method, a namespace function, or @N.method for a
  method of the N-th object returned so far. The ARGs are the words up to the next one
  that begins with --, so "" and -x are arguments too. An ARG is @N, a number (-5, 1e-7,
  -inf), true or false, or text; a word in double quotes is the text between them
  ('"42"' for the text 42, '"--x"' for the text --x). The number of arguments must match
  the signature.

Plugins run in a child process: a crash, an abort or a run past --timeout is reported
with the plugin, the step and the signal, after what was found until then.

Exit codes: 0 all well; 1 the inspector itself failed; 2 bad command line; 3 a plugin could
not be loaded (or was built against another version of the library); 4 a plugin's code
failed (entry point, hook, population, signature, or a crash, an abort or a timeout); 5 a
--call failed; 6 something outlived the plugins; 7 with --strict, a warning or a plugin that
published nothing. When several things fail, the smallest code is returned.)";

// Writes the diagram and, when Graphviz is there, renders it next to it as SVG.
bool writeDiagram(const Inspection& inspection, const std::string& file) {
    {
        std::ofstream out(file);
        writeDot(inspection, out);
        if (!out.flush()) {
            std::cerr << "orrery-inspect: cannot write the diagram to " << file << "\n";
            return false;
        }
    }
    const std::string svg = std::filesystem::path(file).replace_extension(".svg").string();
    const std::string dot = findOnPath("dot");
    if (dot.empty()) {
        std::cerr << "diagram: " << file << " (Graphviz is not installed; with it: dot -Tsvg " << file << " -o " << svg
                  << ")\n";
        return true;
    }
    if (!renderSvg(dot, file, svg)) {
        std::cerr << "diagram: " << file << " (rendering it with " << dot << " failed)\n";
        return true;
    }
    std::cerr << "diagram: " << file << ", rendered to " << svg << "\n";
    return true;
}

int run(int argc, char** argv) {
    CLI::App app(kDescription, "orrery-inspect");
    app.footer(kFooter);
    Options options;
    bool json = false;
    bool noProgress = false;
    bool timing = false;
    std::string dotFile;
    std::string htmlDirectory;
    std::vector<std::string> words(argv + 1, argv + argc);
    try {
        options.calls = takeCalls(words);
    } catch (const std::invalid_argument& error) {
        std::cerr << error.what() << "\nRun with --help for more information.\n";
        return exit_code::usage;
    }
    app.add_option("plugins", options.plugins, "Plugin shared libraries to load, in order")->required();
    app.add_flag("--json", json, "Print JSON instead of the tree");
    app.add_option("--dot", dotFile,
                   "Also write a Graphviz diagram to FILE (and FILE's .svg, if Graphviz is installed)")
        ->option_text("FILE");
    app.add_option("--html", htmlDirectory,
                   "Also write a browsable HTML reference into DIR (open DIR/index.html; the inheritance diagram "
                   "needs Graphviz)")
        ->option_text("DIR");
    // Taken out of the command line before parsing (takeCalls); here for --help.
    std::vector<std::string> unused;
    app.add_option("--call", unused,
                   "Construct, or call a method or function, and print the outputs; takes the words up to the next "
                   "that begins with --")
        ->option_text("NAME ARG...");
    app.add_flag("--strict", options.strict, "Fail (exit 7) on a warning, or on a plugin that published nothing");
    // A range check lets NaN through (it compares false), which then meant no limit without
    // a word; and its message spells the largest double out in full.
    const CLI::Validator seconds(
        [](std::string& text) -> std::string {
            double value = 0;
            const char* end = text.data() + text.size();
            const auto parsed = std::from_chars(text.data(), end, value);
            if (parsed.ec != std::errc() || parsed.ptr != end || !(value >= 0) || std::isinf(value))
                return "not a number of seconds (0 or more, 0 for no limit): '" + text + "'";
            return "";
        },
        "SECONDS");
    app.add_option("--timeout", options.timeout,
                   "Stop a run that takes longer than SECONDS (exit 4); 0 for no limit (default 300)")
        ->option_text("SECONDS")
        ->check(seconds);
    app.add_flag("--no-progress", noProgress, "No progress line on standard error during long loads");
    app.add_flag("--timing", timing, "Print where the time went, and the peak memory, on standard error");
    // The library's version and ABI tag: what a plugin's build stamp must match to be loaded.
    app.set_version_flag("--version", "orrery-inspect " ORRERY_CONVENIENCE_VERSION " (ABI " ORRERY_CONVENIENCE_ABI_TAG
                                      "; JSON schema orrery-inspector/1)");
    std::vector<char*> rest{argv[0]};
    for (auto& word : words) rest.push_back(word.data());
    try {
        app.parse(int(rest.size()), rest.data());
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? exit_code::ok : exit_code::usage;
    }
    options.progress = !noProgress;

    const Outcome outcome = inspectSupervised(options);
    const auto reportStart = std::chrono::steady_clock::now();
    if (json)
        writeJson(outcome.inspection, std::cout);
    else
        writeText(outcome.inspection, std::cout);
    std::cout.flush();
    if (timing) {
        const Timing& t = outcome.timing;
        const double report = std::chrono::duration<double>(std::chrono::steady_clock::now() - reportStart).count();
        // The plugins ran in a child process: its peak is the one that tells.
        rusage self{}, child{};
        getrusage(RUSAGE_SELF, &self);
        getrusage(RUSAGE_CHILDREN, &child);
        std::fprintf(stderr,
                     "timing: load %.3f s, diagnose %.3f s, pull in %.3f s, calls %.3f s, unload %.3f s, "
                     "report %.3f s; peak memory %.1f MiB\n",
                     t.load, t.diagnose, t.pullIn, t.calls, t.unload, report,
                     double(std::max(self.ru_maxrss, child.ru_maxrss)) / 1024.0);
    }
    if (!dotFile.empty() && !writeDiagram(outcome.inspection, dotFile) && outcome.exitCode == exit_code::ok)
        return exit_code::usage;
    if (!htmlDirectory.empty()) {
        try {
            writeHtml(outcome.inspection, htmlDirectory, findOnPath("dot"));
        } catch (const std::exception& error) {
            std::cerr << "orrery-inspect: cannot write the reference: " << error.what() << "\n";
            return exit_code::internal;
        }
        std::cerr << "reference: " << (std::filesystem::path(htmlDirectory) / "index.html").string() << "\n";
    }
    return outcome.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    // Plugins' own failures are reported in the run; what reaches here is the inspector's.
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "orrery-inspect: internal error: " << error.what() << "\n";
    } catch (...) {
        std::cerr << "orrery-inspect: internal error\n";
    }
    return orrery::inspector::exit_code::internal;
}
