#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "reports.hpp"
#include "utf8_repair.hpp"

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

Json toJson(const NamespaceReport& space, std::size_t depth = 0) {
    Json classes = Json::array(), namespaces = Json::array();
    for (const auto& cls : space.classes) classes.push_back(toJson(cls));
    // The walk nests no deeper; the bound keeps the stack safe whatever report comes in.
    if (depth < maxDepth)
        for (const auto& inner : space.namespaces) namespaces.push_back(toJson(inner, depth + 1));
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

// Replaces ill-formed UTF-8 in a value's text; true when some was.
bool repairValue(Json& value, std::vector<Json*>& objects) {
    bool changed = false;
    std::vector<Json*> pending{&value};
    while (!pending.empty()) {
        Json& next = *pending.back();
        pending.pop_back();
        if (next.is_string()) {
            bool repaired = false;
            std::string text = repairUtf8(next.get_ref<const std::string&>(), repaired);
            if (repaired) next = std::move(text);
            changed = changed || repaired;
        } else if (next.is_array()) {
            for (auto& element : next) pending.push_back(&element);
        } else if (next.is_object()) {
            objects.push_back(&next);
        }
    }
    return changed;
}

// Plugins' text is bytes, and JSON is UTF-8: every string of the document is repaired,
// and each object lists in "invalidUtf8" the members whose text (or a text in whose list)
// was. Iterative, so that no document is too deep for it.
void repairDocument(Json& document) {
    std::vector<std::pair<Json*, Json>> flagged;
    std::vector<Json*> objects{&document};
    while (!objects.empty()) {
        Json& object = *objects.back();
        objects.pop_back();
        Json repaired = Json::array();
        for (auto& member : object.items())
            if (repairValue(member.value(), objects)) repaired.push_back(member.key());
        if (!repaired.empty()) flagged.emplace_back(&object, std::move(repaired));
    }
    // Adding a member moves the object's members: the innermost objects, found last, go
    // first, so that no object is reached through a member that has moved.
    std::reverse(flagged.begin(), flagged.end());
    for (auto& [object, members] : flagged) (*object)["invalidUtf8"] = std::move(members);
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
    repairDocument(document);
    // Replacing again cannot be needed; it only keeps a missed text from failing the output.
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace orrery::inspector
