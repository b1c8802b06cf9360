#include <ostream>
#include <set>
#include <string>

#include "reports.hpp"

namespace orrery::inspector {
namespace {

void appendEscaped(std::string& out, const std::string& text) {
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
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
    explicit DotWriter(std::ostream& out) : out_(out) {}

    void cls(const ClassReport& cls, const std::string& indent) {
        const auto dot = cls.id.rfind('.');
        const std::string name = dot == std::string::npos ? cls.id : cls.id.substr(dot + 1);
        out_ << indent << quoted(cls.id) << " [label=\"" << escaped(name) << "\\n" << members(cls) << "\"];\n";
        known_.insert(cls.id);
        for (const auto& super : cls.superclasses) edges_ += "  " + quoted(cls.id) + " -> " + quoted(super) + ";\n";
        for (const auto& super : cls.superclasses) supers_.insert(super);
    }

    void space(const NamespaceReport& space, const std::string& indent) {
        out_ << indent << "subgraph " << quoted("cluster " + space.path) << " {\n"
             << indent << "  label=" << quoted("namespace " + space.path) << ";\n";
        for (const auto& cls : space.classes) this->cls(cls, indent + "  ");
        for (const auto& function : space.functions)
            out_ << indent << "  " << quoted("function " + space.path + "." + function.name)
                 << " [shape=ellipse, label=" << quoted(function.name + "()") << "];\n";
        for (const auto& inner : space.namespaces) this->space(inner, indent + "  ");
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
    std::set<std::string> known_, supers_;
    std::string edges_;
};

}  // namespace

void writeDot(const Inspection& inspection, std::ostream& out) {
    out << "// Namespaces as boxes around their classes and functions; arrows point from a class to its\n"
           "// superclasses.\n"
           "digraph orrery {\n"
           "  graph [rankdir=BT, fontname=\"Helvetica\", fontsize=12];\n"
           "  node [shape=box, style=rounded, fontname=\"Helvetica\", fontsize=11];\n"
           "  edge [arrowhead=empty];\n";
    DotWriter writer(out);
    for (const auto& space : inspection.namespaces) writer.space(space, "  ");
    for (const auto& cls : inspection.classes) writer.cls(cls, "  ");
    writer.finish();
    out << "}\n";
}

}  // namespace orrery::inspector
