#include "session.hpp"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <utility>

#include "calls.hpp"
#include "convenience/diagnostics/contract.hpp"
#include "error_text.hpp"
#include "exit_codes.hpp"
#include "host/reference/reference_host.hpp"
#include "host_walk.hpp"
#include "orrery_testkit/scoped_host.hpp"
#include "plugin_library.hpp"
#include "progress.hpp"

namespace orrery::inspector {
namespace {

// What one plugin's entry point added to the registry and the namespace tree.
struct Published {
    std::size_t plugin;  // into Inspection::plugins
    std::vector<COSClassInfo*> classes;
    std::vector<COSNamespaceInfo*> namespaces;
};

// Adds the seconds since the last lap to `into`.
class Stopwatch {
public:
    void lap(double& into) {
        const auto now = std::chrono::steady_clock::now();
        into += std::chrono::duration<double>(now - last_).count();
        last_ = now;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

template <class T>
std::vector<T> since(std::vector<T> all, std::size_t before) {
    all.erase(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(before, all.size())));
    return all;
}

// " geo.Polygon tri": the words of a --call, each after a blank.
std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& word : words) {
        out += ' ';
        out += word;
    }
    return out;
}

void append(std::vector<convenience::diagnostics::Finding>& to,
            std::optional<std::vector<convenience::diagnostics::Finding>> findings) {
    if (findings) to.insert(to.end(), findings->begin(), findings->end());
}

// Tells the observer, when there is one.
class Steps {
public:
    explicit Steps(Observer* observer) : observer_(observer) {}
    void phase(const std::string& plugin, const std::string& step) const {
        if (observer_) observer_->phase(plugin, step);
    }
    void found(const Inspection& inspection, int exitCode) const {
        if (observer_) observer_->found(inspection, exitCode);
    }

private:
    Observer* observer_;
};

// Metadata the host cannot use is a finding, and the walk leaves it out; a name the
// plugin's code cannot give is an error. True when the item can be pulled in.
template <class Info>
bool named(Info* info, const char* kind, std::vector<std::string>& names, Inspection& out, const std::string& plugin) {
    using convenience::diagnostics::Severity;
    if (!info) {
        out.findings.push_back(
            {Severity::error, "null-entry", kind, "(null)",
             std::string("the plugin registered a null ") + kind + " metadata pointer: there is nothing to inspect"});
        return false;
    }
    try {
        if (const char* name = info->getName()) {
            names.emplace_back(name);
            return true;
        }
        out.findings.push_back({Severity::error, "empty-name", kind, "(null name)",
                                std::string("the ") + kind + " metadata's name is a null pointer"});
        names.emplace_back("(null name)");
    } catch (...) {
        out.errors.push_back(currentProblem("plugin " + plugin + ": the name of a " + kind));
        names.emplace_back("(no name)");
    }
    return false;
}

template <class Info>
void keepNamed(std::vector<Info*>& infos, const char* kind, std::vector<std::string>& names, Inspection& out,
               const std::string& plugin) {
    std::vector<Info*> kept;
    for (Info* info : infos)
        if (named(info, kind, names, out, plugin)) kept.push_back(info);
    infos = std::move(kept);
}

}  // namespace

Outcome inspect(const Options& options) {
    Outcome outcome;
    Inspection& out = outcome.inspection;
    int code = exit_code::ok;
    auto fail = [&code](int failure) { code = code == exit_code::ok ? failure : std::min(code, failure); };
    const Steps steps(options.observer);

    Stopwatch stopwatch;
    Progress progress(options.progress);
    reference::shutdown();  // start from an empty host
    std::vector<PluginLibrary> libraries;
    std::vector<Published> published;
    for (const std::string& path : options.plugins) {
        // Loading runs the library's static constructors: plugin code already.
        steps.phase(std::filesystem::path(path).filename().string(), "loading the library");
        try {
            libraries.emplace_back(path);
        } catch (const LoadError& error) {
            out.errors.push_back({"plugin " + path, error.what(), ""});
            fail(exit_code::load);
            steps.found(out, code);
            continue;
        }
        PluginReport plugin{libraries.back().file(), false, {}, {}};
        if (const auto& warning = libraries.back().warning())
            out.findings.push_back(
                {convenience::diagnostics::Severity::warning, "second-library", "plugin", plugin.file, *warning});
        progress.phase("loading " + plugin.file);
        steps.phase(plugin.file, "the entry point");
        const std::size_t classesBefore = reference::registeredClassInfos().size();
        const std::size_t namespacesBefore = reference::registeredNamespaceInfos().size();
        try {
            libraries.back().entryPoint()();
            plugin.loaded = true;
        } catch (...) {
            out.errors.push_back(currentProblem("plugin " + plugin.file + ": the entry point"));
            fail(exit_code::plugin);
        }
        steps.phase(plugin.file, "the names of what it published");
        Published mine{out.plugins.size(), since(reference::registeredClassInfos(), classesBefore),
                       since(reference::registeredNamespaceInfos(), namespacesBefore)};
        keepNamed(mine.classes, "class", plugin.classes, out, plugin.file);
        keepNamed(mine.namespaces, "namespace", plugin.namespaces, out, plugin.file);
        // What a plugin published before its entry point failed stays unused.
        if (plugin.loaded) published.push_back(std::move(mine));
        out.plugins.push_back(std::move(plugin));
        steps.found(out, code);
    }

    stopwatch.lap(outcome.timing.load);

    // Before the host pulls anything in: population moves the records' content on.
    progress.phase("diagnosing");
    for (const Published& mine : published) {
        steps.phase(out.plugins[mine.plugin].file, "diagnosing what it published");
        for (COSClassInfo* info : mine.classes) append(out.findings, convenience::diagnostics::diagnosePublished(info));
        for (COSNamespaceInfo* info : mine.namespaces)
            append(out.findings, convenience::diagnostics::diagnosePublished(info));
    }
    steps.found(out, code);

    stopwatch.lap(outcome.timing.diagnose);

    {
        HostWalk walk(out, progress, options.observer);
        for (const Published& mine : published) {
            const std::string& file = out.plugins[mine.plugin].file;
            for (COSClassInfo* info : mine.classes) {
                walk.walkClass(info, file);
                steps.found(out, code);
            }
            for (COSNamespaceInfo* info : mine.namespaces) {
                walk.walkNamespace(info, file);
                steps.found(out, code);
            }
        }
    }
    if (!out.errors.empty()) fail(exit_code::plugin);
    stopwatch.lap(outcome.timing.pullIn);

    {
        CallSession session(out);
        for (const auto& command : options.calls) {
            steps.phase(session.owner(command), "call" + joined(command));
            if (!session.run(command)) fail(exit_code::call);
            steps.found(out, code);
        }
    }
    stopwatch.lap(outcome.timing.calls);

    // The host frees what it owns, and with it the records behind its metadata; then the
    // plugins go, and with them what they kept in static storage. Whatever is still alive
    // now, nothing can free any more.
    progress.phase("shutting down");
    steps.phase("", "shutting the host down");
    reference::shutdown();
    while (!libraries.empty()) {
        steps.phase(libraries.back().file(), "unloading the library");
        libraries.pop_back();
    }
    progress.finish();
    steps.phase("", "the leak check");
    testkit::LeakReport leaks{reference::liveCounts(), reference::leakReport(),
                              convenience::diagnostics::liveRecords()};
    if (!leaks.clean()) {
        out.leaks = leaks.text();
        fail(exit_code::leak);
    }
    stopwatch.lap(outcome.timing.unload);
    const bool eachPublished = std::all_of(out.plugins.begin(), out.plugins.end(), [](const PluginReport& plugin) {
        return !plugin.loaded || !plugin.classes.empty() || !plugin.namespaces.empty();
    });
    if (options.strict && (!out.findings.empty() || !eachPublished)) fail(exit_code::strict);
    steps.found(out, code);
    outcome.exitCode = code;
    return outcome;
}

}  // namespace orrery::inspector
