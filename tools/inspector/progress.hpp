#pragma once
#include <chrono>
#include <cstdio>
#include <string>

namespace orrery::inspector {

/// A one-line count of what has been pulled in so far, on standard error, for loads that
/// take a while. Silent unless standard error is a terminal, so that logs stay clean.
class Progress {
public:
    explicit Progress(bool enabled);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    /// Shows what is being done now ("loading geo_plugin.so").
    void phase(const std::string& what);
    void addClass() { ++classes_, maybeShow(); }
    void addFunction() { ++functions_, maybeShow(); }
    /// Clears the line.
    void finish();

private:
    void maybeShow();

    bool enabled_;
    bool shown_ = false;
    long classes_ = 0, functions_ = 0;
    std::chrono::steady_clock::time_point next_;
};

}  // namespace orrery::inspector
