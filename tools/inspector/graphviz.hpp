#pragma once
// Graphviz's `dot`, when it is installed: the diagram and the HTML reference render with it.
#include <string>

namespace orrery::inspector {

/// The full path of `program` on PATH, or empty.
std::string findOnPath(const std::string& program);

/// Renders the Graphviz file `dotFile` to `svgFile` with the `dot` program at `dot`; false
/// when it could not be run or failed.
bool renderSvg(const std::string& dot, const std::string& dotFile, const std::string& svgFile);

}  // namespace orrery::inspector
