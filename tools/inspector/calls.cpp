#include "calls.hpp"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <utility>

#include "convenience/values.hpp"
#include "error_text.hpp"
#include "host/assumed_operations.hpp"
#include "host/reference/reference_host.hpp"
#include "suggestions.hpp"

namespace orrery::inspector {
namespace {

namespace values = convenience::values;

COSValue argument(const std::vector<COSInterfacePtr>& objects, const std::string& text) {
    if (!text.empty() && text[0] == '@') return values::makeObject(reference::handleAt(objects, text));
    double number = 0;
    auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (!text.empty() && error == std::errc() && next == text.data() + text.size()) return values::makeDouble(number);
    if (text == "true" || text == "false") return values::makeLogical(text == "true");
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return values::makeString(std::string_view(text).substr(1, text.size() - 2));
    return values::makeString(text);
}

void addMembers(const ClassReport& report, const std::string& prefix, bool inherited, std::vector<std::string>& out) {
    for (const auto& known : report.methods) out.push_back(prefix + known.name);
    for (const auto& known : report.properties) out.push_back(prefix + known.name);
    if (!inherited) return;
    for (const auto& known : report.inheritedMethods) out.push_back(prefix + known.name);
    for (const auto& known : report.inheritedProperties) out.push_back(prefix + known.name);
}

// The names the reports know near one the host could not resolve: members of the object's
// class for "@N.member", of the class for "pkg.Class.member", every callable otherwise.
std::string suggestionFor(const std::vector<COSInterfacePtr>& objects, const std::string& name,
                          const Inspection& seen) {
    const auto dot = name.rfind('.');
    std::vector<std::string> candidates;
    if (!name.empty() && name[0] == '@') {
        if (dot == std::string::npos) return "";
        std::size_t index = 0;
        auto [next, error] = std::from_chars(name.data() + 1, name.data() + dot, index);
        if (error != std::errc() || next != name.data() + dot || index == 0 || index > objects.size()) return "";
        reference::Object* instance = reference::asObject(objects[index - 1]);
        if (const ClassReport* report = instance ? findClassReport(seen, instance->className()) : nullptr)
            addMembers(*report, "", true, candidates);
        return didYouMean(name.substr(dot + 1), candidates);
    }
    if (dot != std::string::npos)
        if (const ClassReport* report = findClassReport(seen, name.substr(0, dot))) {
            addMembers(*report, report->id + ".", false, candidates);
            return didYouMean(name, candidates);
        }
    return didYouMean(name, callableNames(seen));
}

// The output names the listing shows: the signature's, or the property's own name.
std::vector<std::string> outputNames(const reference::Target& target, std::size_t inputs) {
    if (target.kind == reference::Target::Kind::property) {
        const bool read = inputs == (target.object ? 0u : 1u);
        return read ? std::vector<std::string>{target.name.substr(target.name.rfind('.') + 1)}
                    : std::vector<std::string>{};
    }
    COSMethodSignature* signature = target.callable->getSignature();
    if (!signature) throw std::invalid_argument(target.name + " has no signature: its outputs cannot be named");
    std::vector<std::string> out;
    for (const auto& output : reference::asSignature(signature).outputs()) out.push_back(output.name.str());
    return out;
}

}  // namespace

std::string CallSession::owner(const std::vector<std::string>& command) const {
    if (command.empty()) return "";
    std::string name = command[0];
    if (!name.empty() && name[0] == '@') {
        // An object's methods come from its class's plugin.
        const auto dot = name.find('.');
        std::size_t index = 0;
        const char* end = name.data() + (dot == std::string::npos ? name.size() : dot);
        auto [next, error] = std::from_chars(name.data() + 1, end, index);
        if (error != std::errc() || next != end || index == 0 || index > objects_.size()) return "";
        reference::Object* instance = reference::asObject(objects_[index - 1]);
        name = instance ? instance->className() : "";
    }
    auto within = [&name](const std::string& published) {
        return name == published ||
               (name.size() > published.size() && name.compare(0, published.size(), published) == 0 &&
                name[published.size()] == '.');
    };
    for (const auto& plugin : out_.plugins) {
        if (std::any_of(plugin.classes.begin(), plugin.classes.end(), within) ||
            std::any_of(plugin.namespaces.begin(), plugin.namespaces.end(), within))
            return plugin.file;
    }
    return "";
}

bool CallSession::run(const std::vector<std::string>& command) {
    CallReport report;
    report.command = command;
    const std::string name = command.empty() ? std::string() : command[0];
    try {
        if (name.empty()) throw std::invalid_argument("--call needs the name of a class, method or function");
        reference::Target target;
        try {
            target = reference::resolve(name, objects_);
        } catch (const std::invalid_argument& error) {
            throw std::invalid_argument(error.what() + suggestionFor(objects_, name, out_));
        }
        std::vector<COSValue> inputs;
        for (std::size_t i = 1; i < command.size(); ++i) inputs.push_back(argument(objects_, command[i]));

        // Every output the listing can name is asked for.
        const std::vector<std::string> named = outputNames(target, inputs.size());
        const std::vector<COSValue> outputs = reference::call(target, inputs, static_cast<int>(named.size()));
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            CallOutput output{named[i], values::displayValue(outputs[i]), ""};
            if (COSInterfacePtr object = values::readObject(outputs[i])) {
                objects_.push_back(std::move(object));
                // Appended, not "@" + text: GCC 12 at -O3 warns falsely (-Wrestrict) on that form.
                output.handle = '@';
                output.handle += std::to_string(objects_.size());
            }
            report.outputs.push_back(std::move(output));
        }
    } catch (...) {
        report.error = currentProblem("call " + name);
    }
    const bool ok = !report.error;
    out_.calls.push_back(std::move(report));
    return ok;
}

}  // namespace orrery::inspector
