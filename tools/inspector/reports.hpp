#pragma once
// The ways to show an inspection: a tree for people, JSON for programs (its schema is
// inspector.schema.json, versioned by its "schema" member), a Graphviz diagram of the
// namespace tree and the class inheritance, and a browsable HTML reference.
#include <functional>
#include <iosfwd>
#include <string>

#include "inspection.hpp"

namespace orrery::inspector {

/// The address a class's node links to (empty: none), for a diagram shown in a page.
using ClassLink = std::function<std::string(const std::string& classId)>;

void writeText(const Inspection& inspection, std::ostream& out);
void writeJson(const Inspection& inspection, std::ostream& out);
void writeDot(const Inspection& inspection, std::ostream& out, const ClassLink& link = {});

/// Writes the reference into `directory` (made if missing): index.html, a page per class
/// under classes/, style.css, script.js and search.js. The inheritance diagram is drawn
/// with Graphviz's `dot` at `dot` (empty: not installed; the page says so). Throws
/// std::runtime_error when a file cannot be written.
void writeHtml(const Inspection& inspection, const std::string& directory, const std::string& dot);

/// The version of the JSON output: a new major version for every change that can break
/// a reader (a member removed, renamed or changed in meaning); members may be added.
inline constexpr const char* jsonSchemaId = "orrery-inspector/1";

}  // namespace orrery::inspector
