#pragma once
#include <string>

#include "inspection.hpp"

namespace orrery::inspector {

/// Told what a run does as it goes, so that whoever supervises it can say how far a run
/// that died got and show what it had found by then.
class Observer {
public:
    virtual ~Observer() = default;
    /// The step that starts now ("the entry point", "pulling in class geo.Polygon");
    /// `plugin` is the file of the plugin whose code it runs, or empty.
    virtual void phase(const std::string& plugin, const std::string& step) = 0;
    /// What the inspection holds now, and the exit code it has come to (exit_codes.hpp);
    /// its lists only grow, so what is past the last call's sizes is new.
    virtual void found(const Inspection& inspection, int exitCode) = 0;
};

}  // namespace orrery::inspector
