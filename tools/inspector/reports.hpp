#pragma once
// The three ways to show an inspection: a tree for people, JSON for programs (its schema
// is inspector.schema.json, versioned by its "schema" member), and a Graphviz diagram of
// the namespace tree and the class inheritance.
#include <iosfwd>

#include "inspection.hpp"

namespace orrery::inspector {

void writeText(const Inspection& inspection, std::ostream& out);
void writeJson(const Inspection& inspection, std::ostream& out);
void writeDot(const Inspection& inspection, std::ostream& out);

/// The version of the JSON output: a new major version for every change that can break
/// a reader (a member removed, renamed or changed in meaning); members may be added.
inline constexpr const char* jsonSchemaId = "orrery-inspector/1";

}  // namespace orrery::inspector
