#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "error_text.hpp"
#include "reports.hpp"

namespace orrery::inspector {
namespace {

// The tree, written into one string and handed to the stream at the end: a plugin of
// thousands of classes makes hundreds of thousands of small pieces.
class TextWriter {
public:
    TextWriter& operator<<(std::string_view piece) {
        text_ += piece;
        return *this;
    }

    void callable(const char* kind, const Callable& callable, std::string_view indent) {
        *this << indent;
        pad(kind, 12);
        *this << callable.name;
        if (callable.hasSignature)
            *this << signatureText(callable, false);
        else
            *this << " (no signature)";
        if (!callable.access.empty() && callable.access != "public") *this << "  access " << callable.access;
        differences(callable.attributes);
        described(callable.description);
    }

    void cls(const ClassReport& cls, std::string_view indent) {
        *this << indent << "class " << cls.id;
        for (std::size_t i = 0; i < cls.superclasses.size(); ++i) *this << (i ? ", " : " < ") << cls.superclasses[i];
        described(cls.description);
        const std::string inner = std::string(indent) + "  ";
        if (!cls.detailedDescription.empty()) *this << inner << "  " << cls.detailedDescription << "\n";
        if (!cls.flags.empty()) {
            *this << inner;
            pad("flags", 10);
            differences(cls.flags);
            *this << "\n";
        }
        for (const auto& constructor : cls.constructors) callable("constructor", constructor, inner);
        std::size_t width = 0;
        for (const auto& property : cls.properties) width = std::max(width, property.name.size());
        for (const auto& property : cls.properties) {
            *this << inner;
            pad("property", 12);
            pad(property.name, width + 2);
            *this << property.type << "  default "
                  << (property.factoryDefault.empty() ? "(failed)" : std::string_view(property.factoryDefault));
            if (property.getAccess != "public") *this << "  get " << property.getAccess;
            if (property.setAccess != "public") *this << "  set " << property.setAccess;
            differences(property.attributes);
            described(property.description);
        }
        for (const auto& method : cls.methods) callable("method", method, inner);
    }

    void space(const NamespaceReport& space, std::string_view indent, std::size_t depth = 0) {
        *this << indent << "namespace " << space.path;
        described(space.description);
        const std::string inner = std::string(indent) + "  ";
        for (const auto& cls : space.classes) this->cls(cls, inner);
        for (const auto& function : space.functions) callable("function", function, inner);
        // The walk nests no deeper; the bound keeps the stack safe whatever report comes in.
        if (depth < maxDepth)
            for (const auto& innerSpace : space.namespaces) this->space(innerSpace, inner, depth + 1);
    }

    void call(const CallReport& call) {
        *this << "call";
        for (const auto& word : call.command) *this << " " << word;
        *this << "\n";
        if (call.error) {
            *this << "  error: " << call.error->message;
            if (!call.error->id.empty()) *this << " [" << call.error->id << "]";
            *this << "\n";
        }
        if (!call.error && call.outputs.empty()) *this << "  (no outputs)\n";
        for (const auto& output : call.outputs) {
            *this << "  ";
            if (!output.handle.empty()) *this << output.handle << " = ";
            *this << output.name << ": " << output.value << "\n";
        }
    }

    void flush(std::ostream& out) {
        out << text_;
        text_.clear();
    }

private:
    void pad(std::string_view text, std::size_t width) {
        text_ += text;
        text_.append(text.size() >= width ? 1 : width - text.size(), ' ');
    }

    void differences(const std::vector<Difference>& list) {
        for (const auto& difference : list) *this << "  " << difference.query << "=" << difference.value;
    }

    // Ends the line.
    void described(const std::string& description) {
        if (!description.empty()) *this << "  - " << description;
        *this << "\n";
    }

    std::string text_;
};

}  // namespace

void writeText(const Inspection& inspection, std::ostream& out) {
    TextWriter writer;
    for (const auto& plugin : inspection.plugins) {
        writer << "plugin " << plugin.file << (plugin.loaded ? "" : " (failed)") << ":";
        const char* separator = " ";
        for (const auto& name : plugin.namespaces) writer << std::exchange(separator, ", ") << "namespace " << name;
        for (const auto& name : plugin.classes) writer << std::exchange(separator, ", ") << "class " << name;
        writer << (plugin.namespaces.empty() && plugin.classes.empty() ? " published nothing\n" : "\n");
    }
    for (const auto& space : inspection.namespaces) {
        writer << "\n";
        writer.space(space, "");
    }
    for (const auto& cls : inspection.classes) {
        writer << "\n";
        writer.cls(cls, "");
    }
    if (!inspection.calls.empty()) writer << "\n";
    for (const auto& call : inspection.calls) writer.call(call);

    if (!inspection.findings.empty() || !inspection.errors.empty() || !inspection.leaks.empty()) writer << "\n";
    // Findings are warnings here, whatever their severity: the walk above shows what
    // actually broke.
    for (const auto& finding : inspection.findings)
        writer << "warning: " << finding.recordKind << " \"" << finding.recordName << "\": " << finding.message << " ["
               << finding.check << "]\n";
    for (const auto& error : inspection.errors) writer << "error: " << describe(error) << "\n";
    if (!inspection.leaks.empty())
        writer << "error: still alive after the plugins were unloaded: " << inspection.leaks << "\n";

    const Counts counts = inspection.counts();
    const std::size_t errors = inspection.errors.size() + (inspection.leaks.empty() ? 0 : 1);
    writer << "\n"
           << counted(counts.plugins, "plugin", "plugins") << ": "
           << counted(counts.namespaces, "namespace", "namespaces") << ", "
           << counted(counts.classes, "class", "classes") << ", "
           << counted(counts.properties, "property", "properties") << ", "
           << counted(counts.methods, "method", "methods") << ", "
           << counted(counts.constructors, "constructor", "constructors") << ", "
           << counted(counts.functions, "function", "functions") << "; " << counted(errors, "error", "errors") << ", "
           << counted(inspection.findings.size(), "warning", "warnings") << "\n";
    writer.flush(out);
}

}  // namespace orrery::inspector
