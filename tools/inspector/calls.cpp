#include "calls.hpp"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <utility>

#include "convenience/typed/values.hpp"
#include "error_text.hpp"
#include "host/reference/reference_host.hpp"
#include "suggestions.hpp"

namespace orrery::inspector {
namespace {

namespace values = convenience::typed;

struct Target {
    COSMethodInfo* info = nullptr;
    std::string what;  ///< "the constructor of geo.Polygon", "geo.util.area"
};

COSInterfacePtr objectOf(const std::vector<COSInterfacePtr>& objects, const std::string& token) {
    std::size_t index = 0;
    const char* end = token.data() + token.size();
    auto [next, error] = std::from_chars(token.data() + 1, end, index);
    if (error != std::errc() || next != end || index == 0 || index > objects.size())
        throw std::invalid_argument(token + " names no object: " + counted(objects.size(), "object", "objects") +
                                    " returned so far");
    return objects[index - 1];
}

COSValue argument(const std::vector<COSInterfacePtr>& objects, const std::string& text) {
    if (!text.empty() && text[0] == '@') return values::makeObject(objectOf(objects, text));
    double number = 0;
    auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (!text.empty() && error == std::errc() && next == text.data() + text.size()) return values::makeDouble(number);
    if (text == "true" || text == "false") return values::makeLogical(text == "true");
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return values::makeString(std::string_view(text).substr(1, text.size() - 2));
    return values::makeString(text);
}

// What a name means: a method of an object returned earlier (its object joins the
// inputs), a class (its constructor), a method of a class, or a namespace function.
Target resolve(const std::vector<COSInterfacePtr>& objects, const std::string& name, std::vector<COSValue>& inputs,
               const Inspection& seen) {
    const auto dot = name.rfind('.');
    if (!name.empty() && name[0] == '@') {
        if (dot == std::string::npos) throw std::invalid_argument(name + " is an object, not something to call");
        COSInterfacePtr object = objectOf(objects, name.substr(0, dot));
        reference::Object* instance = reference::asObject(object);
        reference::ClassObject* cls = instance ? instance->cls() : nullptr;
        const std::string method = name.substr(dot + 1);
        COSMethodInfo* info = cls ? cls->findMethod(method) : nullptr;
        if (!info) {
            std::vector<std::string> methods;
            if (const ClassReport* report = cls ? findClassReport(seen, cls->getClassName()) : nullptr)
                for (const auto& known : report->methods) methods.push_back(known.name);
            throw std::invalid_argument(name.substr(0, dot) + " (" + (instance ? instance->className() : "no class") +
                                        ") has no method " + method + didYouMean(method, methods));
        }
        inputs.push_back(values::makeObject(object));
        return {info, std::string(cls->getClassName()) + "." + method};
    }
    if (reference::isKnownClass(name)) {
        reference::ClassObject* cls = reference::findClass(name);
        COSMethodInfo* constructor = cls ? cls->findConstructor() : nullptr;
        if (!constructor) throw std::invalid_argument("class " + name + " has no constructor");
        return {constructor, "the constructor of " + name};
    }
    if (dot != std::string::npos && reference::isKnownClass(name.substr(0, dot))) {
        if (COSMethodInfo* info = reference::findClass(name.substr(0, dot))->findMethod(name.substr(dot + 1)))
            return {info, name};
        std::vector<std::string> methods;
        if (const ClassReport* report = findClassReport(seen, name.substr(0, dot)))
            for (const auto& known : report->methods) methods.push_back(report->id + "." + known.name);
        throw std::invalid_argument("class " + name.substr(0, dot) + " has no method " + name.substr(dot + 1) +
                                    didYouMean(name, methods));
    }
    if (COSMethodInfo* function = reference::findFunction(name)) return {function, name};
    throw std::invalid_argument("no class, method or function is named " + name +
                                didYouMean(name, callableNames(seen)));
}

std::string names(const std::vector<reference::SignatureArgument>& arguments) {
    std::string out;
    for (const auto& argument : arguments) out += (out.empty() ? "" : ", ") + argument.name.str();
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
        std::vector<COSValue> inputs;
        const Target target = resolve(objects_, name, inputs, out_);
        for (std::size_t i = 1; i < command.size(); ++i) inputs.push_back(argument(objects_, command[i]));

        COSMethodSignature* signature = target.info->getSignature();
        if (!signature) throw std::invalid_argument(target.what + " has no signature: its inputs cannot be checked");
        const reference::Signature& own = reference::asSignature(signature);
        // With variable arguments, an input named varargin stands for them: it may be absent.
        std::size_t expected = own.inputs().size();
        if (own.hasVarargin() && expected > 0 && own.inputs().back().name.str() == "varargin") --expected;
        if (own.hasVarargin() ? inputs.size() < expected : inputs.size() != expected)
            throw std::invalid_argument(target.what + " takes " + (own.hasVarargin() ? "at least " : "") +
                                        counted(expected, "input", "inputs") + " (" + names(own.inputs()) + "), " +
                                        std::to_string(inputs.size()) + " given");

        const int asked = static_cast<int>(own.outputs().size());
        std::vector<COSValue> outputs(own.outputs().size() + 1);  // never empty: data() is handed on
        int filled = asked;
        target.info->invoke(reference::client(), filled, outputs.data(), static_cast<int>(inputs.size()),
                            inputs.data());
        if (filled < 0 || filled > asked)
            throw std::logic_error(target.what + " reported " + std::to_string(filled) + " outputs for " +
                                   std::to_string(asked) + " asked");
        for (int i = 0; i < filled; ++i) {
            CallOutput output{own.outputs()[static_cast<std::size_t>(i)].name.str(),
                              reference::describe(outputs[static_cast<std::size_t>(i)]), ""};
            if (COSInterfacePtr object = values::readObject(outputs[static_cast<std::size_t>(i)])) {
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
