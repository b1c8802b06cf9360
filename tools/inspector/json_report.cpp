#include <nlohmann/json.hpp>
#include <ostream>

#include "reports.hpp"

namespace orrery::inspector {
namespace {

// Members keep the order they are written in: the output reads like the text tree.
using Json = nlohmann::ordered_json;

Json toJson(const std::vector<Difference>& differences) {
    Json out = Json::object();
    for (const auto& difference : differences) out[difference.query] = difference.value;
    return out;
}

Json toJson(const std::vector<Argument>& arguments) {
    Json out = Json::array();
    for (const auto& argument : arguments) out.push_back({{"type", argument.type}, {"name", argument.name}});
    return out;
}

Json inheritedFrom(const std::string& owner) { return owner.empty() ? Json() : Json(owner); }

Json toJson(const Callable& callable) {
    return {{"name", callable.name},
            {"description", callable.description},
            {"access", callable.access},
            {"signature", callable.hasSignature ? Json(signatureText(callable)) : Json()},
            {"inputs", toJson(callable.inputs)},
            {"outputs", toJson(callable.outputs)},
            {"varargin", callable.varargin},
            {"varargout", callable.varargout},
            {"static", callable.isStatic},
            {"abstract", callable.isAbstract},
            {"inheritedFrom", inheritedFrom(callable.inheritedFrom)},
            {"attributes", toJson(callable.attributes)}};
}

Json toJson(const std::vector<Callable>& callables) {
    Json out = Json::array();
    for (const auto& callable : callables) out.push_back(toJson(callable));
    return out;
}

Json toJson(const std::vector<Property>& list) {
    Json properties = Json::array();
    for (const auto& property : list)
        properties.push_back({{"name", property.name},
                              {"description", property.description},
                              {"type", property.type},
                              {"default", property.factoryDefault},
                              {"getAccess", property.getAccess},
                              {"setAccess", property.setAccess},
                              {"readOnly", property.readOnly},
                              {"inheritedFrom", inheritedFrom(property.inheritedFrom)},
                              {"attributes", toJson(property.attributes)}});
    return properties;
}

Json toJson(const ClassReport& cls) {
    return {{"id", cls.id},
            {"plugin", cls.plugin},
            {"description", cls.description},
            {"detailedDescription", cls.detailedDescription},
            {"superclasses", cls.superclasses},
            {"flags", toJson(cls.flags)},
            {"properties", toJson(cls.properties)},
            {"constructors", toJson(cls.constructors)},
            {"methods", toJson(cls.methods)},
            {"inheritedProperties", toJson(cls.inheritedProperties)},
            {"inheritedMethods", toJson(cls.inheritedMethods)}};
}

Json toJson(const NamespaceReport& space) {
    Json classes = Json::array(), namespaces = Json::array();
    for (const auto& cls : space.classes) classes.push_back(toJson(cls));
    for (const auto& inner : space.namespaces) namespaces.push_back(toJson(inner));
    return {{"path", space.path},
            {"plugin", space.plugin},
            {"description", space.description},
            {"classes", std::move(classes)},
            {"functions", toJson(space.functions)},
            {"namespaces", std::move(namespaces)}};
}

Json toJson(const Problem& problem) {
    return {
        {"where", problem.where}, {"message", problem.message}, {"id", problem.id.empty() ? Json() : Json(problem.id)}};
}

}  // namespace

void writeJson(const Inspection& inspection, std::ostream& out) {
    Json plugins = Json::array(), namespaces = Json::array(), classes = Json::array(), findings = Json::array(),
         errors = Json::array(), calls = Json::array();
    for (const auto& plugin : inspection.plugins)
        plugins.push_back({{"file", plugin.file},
                           {"loaded", plugin.loaded},
                           {"namespaces", plugin.namespaces},
                           {"classes", plugin.classes}});
    for (const auto& space : inspection.namespaces) namespaces.push_back(toJson(space));
    for (const auto& cls : inspection.classes) classes.push_back(toJson(cls));
    for (const auto& finding : inspection.findings)
        findings.push_back({{"severity", convenience::diagnostics::toString(finding.severity)},
                            {"check", finding.check},
                            {"recordKind", finding.recordKind},
                            {"recordName", finding.recordName},
                            {"message", finding.message}});
    for (const auto& error : inspection.errors) errors.push_back(toJson(error));
    for (const auto& call : inspection.calls) {
        Json outputs = Json::array();
        for (const auto& output : call.outputs)
            outputs.push_back({{"name", output.name},
                               {"value", output.value},
                               {"handle", output.handle.empty() ? Json() : Json(output.handle)}});
        calls.push_back({{"command", call.command},
                         {"outputs", std::move(outputs)},
                         {"error", call.error ? toJson(*call.error) : Json()}});
    }
    const Counts counts = inspection.counts();
    Json document = {{"schema", jsonSchemaId},
                     {"plugins", std::move(plugins)},
                     {"namespaces", std::move(namespaces)},
                     {"classes", std::move(classes)},
                     {"calls", std::move(calls)},
                     {"findings", std::move(findings)},
                     {"errors", std::move(errors)},
                     {"leaks", inspection.leaks.empty() ? Json() : Json(inspection.leaks)},
                     {"summary",
                      {{"plugins", counts.plugins},
                       {"namespaces", counts.namespaces},
                       {"classes", counts.classes},
                       {"properties", counts.properties},
                       {"methods", counts.methods},
                       {"constructors", counts.constructors},
                       {"functions", counts.functions}}}};
    out << document.dump(2) << "\n";
}

}  // namespace orrery::inspector
