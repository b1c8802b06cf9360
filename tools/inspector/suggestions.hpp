#pragma once
// "did you mean": the names closest to one that does not exist, for --call.
#include <string>
#include <vector>

#include "inspection.hpp"

namespace orrery::inspector {

/// Edits (insert, delete, replace, swap two neighbours) that turn `a` into `b`.
std::size_t editDistance(const std::string& a, const std::string& b);

/// Up to three of `candidates` close enough to `name` to be what was meant, the closest
/// first.
std::vector<std::string> closest(const std::string& name, const std::vector<std::string>& candidates);

/// "; did you mean a, b or c?", or nothing when no candidate is close.
std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates);

/// What --call can name: each class, Class.method and namespace function the walk saw.
std::vector<std::string> callableNames(const Inspection& inspection);

/// The class the walk saw under `id`, or null.
const ClassReport* findClassReport(const Inspection& inspection, const std::string& id);

}  // namespace orrery::inspector
