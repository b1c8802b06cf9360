#include <ostream>
#include <set>
#include <string>

#include "reports.hpp"
#include "utf8_repair.hpp"

namespace orrery::inspector {
namespace {

// Inside a quoted string Graphviz reads \" as a quote; in a label it then reads every
// backslash sequence as an escape (\n, \l and \r end lines, \N, \G, \E, \T, \H and \L
// stand for names). Doubling each backslash makes them all plain text; line ends become
// \n, the other control characters U+FFFD, and ill-formed UTF-8 (Graphviz reads UTF-8)
// U+FFFD too. Labels are always quoted, so "<" never starts an HTML-like label.
void appendEscaped(std::string& out, const std::string& text) {
    bool changed = false;
    const std::string valid = repairUtf8(text, changed);
    for (std::size_t i = 0; i < valid.size(); ++i) {
        const char c = valid[i];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < valid.size() && valid[i + 1] == '\n') ++i;
            out += "\\n";
        } else if (c == '\t') {
            out += ' ';
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            out += "\xEF\xBF\xBD";
        } else {
            out += c;
        }
    }
}

std::string escaped(const std::string& text) {
    std::string out;
    appendEscaped(out, text);
    return out;
}

// Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "\"" + text.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    appendEscaped(out, text);
    out += '"';
    return out;
}

class DotWriter {
public:
    DotWriter(std::ostream& out, const ClassLink& link) : out_(out), link_(link) {}

    void cls(const ClassReport& cls, const std::string& indent) {
        const auto dot = cls.id.rfind('.');
        const std::string name = dot == std::string::npos ? cls.id : cls.id.substr(dot + 1);
        out_ << indent << quoted(cls.id) << " [label=\"" << escaped(name) << "\\n" << members(cls) << "\"";
        if (const std::string url = link_ ? link_(cls.id) : ""; !url.empty()) out_ << ", URL=" << quoted(url);
        out_ << "];\n";
        known_.insert(cls.id);
        for (const auto& super : cls.superclasses) edges_ += "  " + quoted(cls.id) + " -> " + quoted(super) + ";\n";
        for (const auto& super : cls.superclasses) supers_.insert(super);
    }

    void space(const NamespaceReport& space, const std::string& indent, std::size_t depth = 0) {
        out_ << indent << "subgraph " << quoted("cluster " + space.path) << " {\n"
             << indent << "  label=" << quoted("namespace " + space.path) << ";\n";
        for (const auto& cls : space.classes) this->cls(cls, indent + "  ");
        for (const auto& function : space.functions)
            out_ << indent << "  " << quoted("function " + space.path + "." + function.name)
                 << " [shape=ellipse, label=" << quoted(function.name + "()") << "];\n";
        // The walk nests no deeper; the bound keeps the stack safe whatever report comes in.
        if (depth < maxDepth)
            for (const auto& inner : space.namespaces) this->space(inner, indent + "  ", depth + 1);
        out_ << indent << "}\n";
    }

    // Inheritance, after every node: a superclass the plugins did not publish (a host
    // class, or a typo) is drawn dashed.
    void finish() {
        for (const auto& super : supers_)
            if (!known_.count(super)) out_ << "  " << quoted(super) << " [style=\"rounded,dashed\"];\n";
        out_ << edges_;
    }

private:
    static std::string members(const ClassReport& cls) {
        return counted(cls.properties.size(), "property", "properties") + ", " +
               counted(cls.methods.size(), "method", "methods");
    }

    std::ostream& out_;
    const ClassLink& link_;
    std::set<std::string> known_, supers_;
    std::string edges_;
};

}  // namespace

void writeDot(const Inspection& inspection, std::ostream& out, const ClassLink& link) {
    out << "// Namespaces as boxes around their classes and functions; arrows point from a class to its\n"
           "// superclasses.\n"
           "digraph orrery {\n"
           "  graph [rankdir=BT, fontname=\"Helvetica\", fontsize=12];\n"
           "  node [shape=box, style=rounded, fontname=\"Helvetica\", fontsize=11];\n"
           "  edge [arrowhead=empty];\n";
    DotWriter writer(out, link);
    for (const auto& space : inspection.namespaces) writer.space(space, "  ");
    for (const auto& cls : inspection.classes) writer.cls(cls, "  ");
    writer.finish();
    out << "}\n";
}

}  // namespace orrery::inspector
