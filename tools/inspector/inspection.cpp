#include "inspection.hpp"

namespace orrery::inspector {
namespace {

void count(const ClassReport& cls, Counts& counts) {
    ++counts.classes;
    counts.properties += static_cast<int>(cls.properties.size());
    counts.methods += static_cast<int>(cls.methods.size());
    counts.constructors += static_cast<int>(cls.constructors.size());
}

void count(const NamespaceReport& space, Counts& counts) {
    ++counts.namespaces;
    for (const auto& cls : space.classes) count(cls, counts);
    counts.functions += static_cast<int>(space.functions.size());
    for (const auto& inner : space.namespaces) count(inner, counts);
}

void appendList(std::string& out, const std::vector<Argument>& arguments, bool more) {
    out += '(';
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i) out += ", ";
        out += arguments[i].type;
        out += ' ';
        out += arguments[i].name;
    }
    if (more) out += arguments.empty() ? "..." : ", ...";
    out += ')';
}

}  // namespace

std::string signatureText(const Callable& callable, bool emptyOutputs) {
    std::string out;
    appendList(out, callable.inputs, callable.varargin);
    if (emptyOutputs || !callable.outputs.empty() || callable.varargout) {
        out += " -> ";
        appendList(out, callable.outputs, callable.varargout);
    }
    return out;
}

Counts Inspection::counts() const {
    Counts counts;
    counts.plugins = static_cast<int>(plugins.size());
    for (const auto& space : namespaces) count(space, counts);
    for (const auto& cls : classes) count(cls, counts);
    return counts;
}

}  // namespace orrery::inspector
