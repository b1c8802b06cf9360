#include "session.hpp"

#include <algorithm>
#include <chrono>
#include <cstddef>
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

void append(std::vector<convenience::diagnostics::Finding>& to,
            std::optional<std::vector<convenience::diagnostics::Finding>> findings) {
    if (findings) to.insert(to.end(), findings->begin(), findings->end());
}

}  // namespace

Outcome inspect(const Options& options) {
    Outcome outcome;
    Inspection& out = outcome.inspection;
    int code = exit_code::ok;
    auto fail = [&code](int failure) { code = code == exit_code::ok ? failure : std::min(code, failure); };

    Stopwatch stopwatch;
    Progress progress(options.progress);
    reference::shutdown();  // start from an empty host
    std::vector<PluginLibrary> libraries;
    std::vector<Published> published;
    for (const std::string& path : options.plugins) {
        try {
            libraries.emplace_back(path);
        } catch (const LoadError& error) {
            out.errors.push_back({"plugin " + path, error.what(), ""});
            fail(exit_code::load);
            continue;
        }
        PluginReport plugin{libraries.back().file(), false, {}, {}};
        if (const auto& warning = libraries.back().warning())
            out.findings.push_back(
                {convenience::diagnostics::Severity::warning, "second-library", "plugin", plugin.file, *warning});
        progress.phase("loading " + plugin.file);
        const std::size_t classesBefore = reference::registeredClassInfos().size();
        const std::size_t namespacesBefore = reference::registeredNamespaceInfos().size();
        try {
            libraries.back().entryPoint()();
            plugin.loaded = true;
        } catch (...) {
            out.errors.push_back(currentProblem("plugin " + plugin.file + ": the entry point"));
            fail(exit_code::plugin);
        }
        Published mine{out.plugins.size(), since(reference::registeredClassInfos(), classesBefore),
                       since(reference::registeredNamespaceInfos(), namespacesBefore)};
        for (COSClassInfo* info : mine.classes) plugin.classes.emplace_back(info->getName());
        for (COSNamespaceInfo* info : mine.namespaces) plugin.namespaces.emplace_back(info->getName());
        // What a plugin published before its entry point failed stays unused.
        if (plugin.loaded) published.push_back(std::move(mine));
        out.plugins.push_back(std::move(plugin));
    }

    stopwatch.lap(outcome.timing.load);

    // Before the host pulls anything in: population moves the records' content on.
    progress.phase("diagnosing");
    for (const Published& mine : published) {
        for (COSClassInfo* info : mine.classes) append(out.findings, convenience::diagnostics::diagnosePublished(info));
        for (COSNamespaceInfo* info : mine.namespaces)
            append(out.findings, convenience::diagnostics::diagnosePublished(info));
    }

    stopwatch.lap(outcome.timing.diagnose);

    {
        HostWalk walk(out, progress);
        for (const Published& mine : published) {
            const std::string& file = out.plugins[mine.plugin].file;
            for (COSClassInfo* info : mine.classes) walk.walkClass(info, file);
            for (COSNamespaceInfo* info : mine.namespaces) walk.walkNamespace(info, file);
        }
    }
    if (!out.errors.empty()) fail(exit_code::plugin);
    stopwatch.lap(outcome.timing.pullIn);

    {
        CallSession session(out);
        for (const auto& command : options.calls)
            if (!session.run(command)) fail(exit_code::call);
    }
    stopwatch.lap(outcome.timing.calls);

    // The host frees what it owns, and with it the records behind its metadata; then the
    // plugins go, and with them what they kept in static storage. Whatever is still alive
    // now, nothing can free any more.
    progress.phase("shutting down");
    reference::shutdown();
    while (!libraries.empty()) libraries.pop_back();
    progress.finish();
    testkit::LeakReport leaks{reference::liveCounts(), reference::leakReport(),
                              convenience::diagnostics::liveRecords()};
    if (!leaks.clean()) {
        out.leaks = leaks.text();
        fail(exit_code::leak);
    }
    stopwatch.lap(outcome.timing.unload);
    outcome.exitCode = code;
    return outcome;
}

}  // namespace orrery::inspector
