#pragma once
// One run of the inspector: load the plugins, let each define and publish, diagnose what
// they published, pull it all into the reference host, run the calls, shut the host
// down, unload the plugins and see what outlived them.
#include <string>
#include <vector>

#include "inspection.hpp"
#include "observer.hpp"

namespace orrery::inspector {

struct Options {
    std::vector<std::string> plugins;
    std::vector<std::vector<std::string>> calls;
    bool progress = true;  ///< on standard error, when it is a terminal
    /// Warnings, and a plugin that published nothing, fail the run (exit_code::strict).
    bool strict = false;
    /// Seconds the supervised run may take; 0 for no limit. Unused by inspect().
    double timeout = 300;
    Observer* observer = nullptr;  ///< told the steps and the findings as they come
};

/// Where the time went, in seconds of wall time.
struct Timing {
    double load = 0;  ///< opening the plugins and running their entry points
    double diagnose = 0;  ///< the contract diagnostics of what they published
    double pullIn = 0;  ///< the host making, populating and signing everything
    double calls = 0;
    double unload = 0;  ///< shutting the host down, unloading, the leak check
};

struct Outcome {
    Inspection inspection;
    int exitCode = 0;  ///< see exit_codes.hpp
    Timing timing;
};

/// Runs everything in this process: a plugin that crashes takes the caller with it.
Outcome inspect(const Options& options);

/// Runs inspect() in a child process and follows it: a child that crashes, aborts,
/// overflows its stack, exits early or outlives the timeout is an error naming the
/// plugin, the step and the signal, after what it had found by then (exit_code::plugin).
Outcome inspectSupervised(const Options& options);

}  // namespace orrery::inspector
