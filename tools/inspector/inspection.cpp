#include "inspection.hpp"

namespace orrery::inspector {
namespace {

void count(const ClassReport& cls, Counts& counts) {
    ++counts.classes;
    counts.properties += cls.properties.size();
    counts.methods += cls.methods.size();
    counts.constructors += cls.constructors.size();
}

// By a list rather than recursion: no report is too deep for it.
void count(const NamespaceReport& top, Counts& counts) {
    std::vector<const NamespaceReport*> pending{&top};
    while (!pending.empty()) {
        const NamespaceReport& space = *pending.back();
        pending.pop_back();
        ++counts.namespaces;
        for (const auto& cls : space.classes) count(cls, counts);
        counts.functions += space.functions.size();
        for (const auto& inner : space.namespaces) pending.push_back(&inner);
    }
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

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

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
    counts.plugins = plugins.size();
    for (const auto& space : namespaces) count(space, counts);
    for (const auto& cls : classes) count(cls, counts);
    return counts;
}

}  // namespace orrery::inspector
