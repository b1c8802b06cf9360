#include <algorithm>
#include <ostream>
#include <string>

#include "error_text.hpp"
#include "reports.hpp"

namespace orrery::inspector {
namespace {

std::string plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string differences(const std::vector<Difference>& list) {
    std::string out;
    for (const auto& difference : list) out += "  " + difference.query + "=" + difference.value;
    return out;
}

std::string described(const std::string& description) { return description.empty() ? "" : "  - " + description; }

// "(double scalar x) -> (double scalar y)", without an empty output list.
std::string signature(const Callable& callable) {
    if (callable.signature.empty()) return " (no signature)";
    const std::string none = " -> ()";
    const std::string& text = callable.signature;
    if (text.size() >= none.size() && text.compare(text.size() - none.size(), none.size(), none) == 0)
        return text.substr(0, text.size() - none.size());
    return text;
}

class TextWriter {
public:
    explicit TextWriter(std::ostream& out) : out_(out) {}

    void callable(const char* kind, const Callable& callable, const std::string& indent) {
        out_ << indent << pad(kind, 12) << callable.name << signature(callable);
        if (!callable.access.empty() && callable.access != "public") out_ << "  access " << callable.access;
        out_ << differences(callable.attributes) << described(callable.description) << "\n";
    }

    void cls(const ClassReport& cls, const std::string& indent) {
        out_ << indent << "class " << cls.id;
        for (std::size_t i = 0; i < cls.superclasses.size(); ++i) out_ << (i ? ", " : " < ") << cls.superclasses[i];
        out_ << described(cls.description) << "\n";
        const std::string inner = indent + "  ";
        if (!cls.flags.empty()) out_ << inner << pad("flags", 10) << differences(cls.flags) << "\n";
        for (const auto& constructor : cls.constructors) callable("constructor", constructor, inner);
        std::size_t width = 0;
        for (const auto& property : cls.properties) width = std::max(width, property.name.size());
        for (const auto& property : cls.properties) {
            out_ << inner << pad("property", 12) << pad(property.name, width + 2) << property.type << "  default "
                 << (property.factoryDefault.empty() ? "(failed)" : property.factoryDefault);
            if (property.getAccess != "public") out_ << "  get " << property.getAccess;
            if (property.setAccess != "public") out_ << "  set " << property.setAccess;
            out_ << differences(property.attributes) << described(property.description) << "\n";
        }
        for (const auto& method : cls.methods) callable("method", method, inner);
    }

    void space(const NamespaceReport& space, const std::string& indent) {
        out_ << indent << "namespace " << space.path << described(space.description) << "\n";
        const std::string inner = indent + "  ";
        for (const auto& cls : space.classes) this->cls(cls, inner);
        for (const auto& function : space.functions) callable("function", function, inner);
        for (const auto& innerSpace : space.namespaces) this->space(innerSpace, inner);
    }

    void call(const CallReport& call) {
        out_ << "call";
        for (const auto& word : call.command) out_ << " " << word;
        out_ << "\n";
        if (call.error)
            out_ << "  error: " << call.error->message << (call.error->id.empty() ? "" : " [" + call.error->id + "]")
                 << "\n";
        if (!call.error && call.outputs.empty()) out_ << "  (no outputs)\n";
        for (const auto& output : call.outputs)
            out_ << "  " << (output.handle.empty() ? "" : output.handle + " = ") << output.name << ": " << output.value
                 << "\n";
    }

private:
    static std::string pad(const std::string& text, std::size_t width) {
        return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
    }

    std::ostream& out_;
};

}  // namespace

void writeText(const Inspection& inspection, std::ostream& out) {
    TextWriter writer(out);
    for (const auto& plugin : inspection.plugins) {
        out << "plugin " << plugin.file << (plugin.loaded ? "" : " (failed)") << ":";
        std::string items;
        for (const auto& name : plugin.namespaces) items += (items.empty() ? " namespace " : ", namespace ") + name;
        for (const auto& name : plugin.classes) items += (items.empty() ? " class " : ", class ") + name;
        out << (items.empty() ? " published nothing" : items) << "\n";
    }
    for (const auto& space : inspection.namespaces) {
        out << "\n";
        writer.space(space, "");
    }
    for (const auto& cls : inspection.classes) {
        out << "\n";
        writer.cls(cls, "");
    }
    if (!inspection.calls.empty()) out << "\n";
    for (const auto& call : inspection.calls) writer.call(call);

    if (!inspection.findings.empty() || !inspection.errors.empty() || !inspection.leaks.empty()) out << "\n";
    // Findings are warnings here, whatever their severity: the walk above shows what
    // actually broke.
    for (const auto& finding : inspection.findings)
        out << "warning: " << finding.recordKind << " \"" << finding.recordName << "\": " << finding.message << " ["
            << finding.check << "]\n";
    for (const auto& error : inspection.errors) out << "error: " << describe(error) << "\n";
    if (!inspection.leaks.empty())
        out << "error: still alive after the plugins were unloaded: " << inspection.leaks << "\n";

    const Counts counts = inspection.counts();
    const int errors = static_cast<int>(inspection.errors.size()) + (inspection.leaks.empty() ? 0 : 1);
    out << "\n"
        << plural(counts.plugins, "plugin", "plugins") << ": " << plural(counts.namespaces, "namespace", "namespaces")
        << ", " << plural(counts.classes, "class", "classes") << ", "
        << plural(counts.properties, "property", "properties") << ", " << plural(counts.methods, "method", "methods")
        << ", " << plural(counts.constructors, "constructor", "constructors") << ", "
        << plural(counts.functions, "function", "functions") << "; " << plural(errors, "error", "errors") << ", "
        << plural(static_cast<int>(inspection.findings.size()), "warning", "warnings") << "\n";
}

}  // namespace orrery::inspector
