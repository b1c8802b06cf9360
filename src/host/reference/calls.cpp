#include "host/reference/calls.hpp"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <utility>

#include "host/assumed_operations.hpp"

#include "host/reference/arrays.hpp"
#include "host/reference/class_object.hpp"
#include "host/reference/detail/calls_in_progress.hpp"
#include "host/reference/member_lookup.hpp"
#include "host/reference/namespace_tree.hpp"
#include "host/reference/objects.hpp"
#include "host/reference/registry.hpp"
#include "host/reference/signature.hpp"

namespace orrery::reference {
namespace {

ClassObject& classOf(const COSInterfacePtr& object) {
    Object* instance = asObject(object);
    if (!instance) throw std::invalid_argument("not an object of the reference host");
    if (!instance->cls()) throw std::invalid_argument("the object's class is gone");
    return *instance->cls();
}

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A method of the class, else a property; `owner` names the class or object in messages.
Target memberOf(ClassObject& cls, const std::string& member, const std::string& owner) {
    Target target;
    target.name = cls.getClassID().str() + "." + member;
    if ((target.callable = resolveMethod(cls, member).info)) {
        target.kind = Target::Kind::method;
        return target;
    }
    if ((target.property = resolveProperty(cls, member).info)) {
        target.kind = Target::Kind::property;
        return target;
    }
    throw std::invalid_argument(owner + " has no method or property " + member);
}

// The object of a method or property: the one it was named through, else input 1.
COSInterfacePtr objectFor(const Target& target, const std::vector<COSValue>& inputs, std::size_t& first) {
    first = 0;
    if (target.object) return target.object;
    const hxArray* array = inputs.empty() ? nullptr : inputs[0].content();
    if (!array || array->classID() != hxOBJECT_CLASS || array->numberOfElements() != 1)
        throw std::invalid_argument(target.name + " needs an object as input 1");
    first = 1;
    return static_cast<const COSInterfacePtr*>(array->data())[0];
}

std::vector<COSValue> callProperty(const Target& target, const std::vector<COSValue>& inputs, int outputCount) {
    std::size_t first = 0;
    const COSInterfacePtr object = objectFor(target, inputs, first);
    const std::size_t values = inputs.size() - first;
    if (values > 1)
        throw std::invalid_argument("property " + target.name + " takes 1 value to set, " + std::to_string(values) +
                                    " given");
    if (values == 1 && outputCount > 0)
        throw std::invalid_argument("setting property " + target.name + " gives no outputs, " +
                                    std::to_string(outputCount) + " asked");
    if (outputCount > 1)
        throw std::invalid_argument("property " + target.name + " gives 1 output, " + std::to_string(outputCount) +
                                    " asked");
    detail::CallInProgress running;
    if (values == 1) {
        target.property->setValue(object, inputs[first]);
        return {};
    }
    COSValue value = target.property->getValue(object);
    if (outputCount == 0) return {};
    return {std::move(value)};
}

// How many inputs and outputs the callable's signature declares; none when it has no
// signature of this host (scripted metadata in tests).
std::pair<std::size_t, std::size_t> declaredCounts(COSMethodInfo& callable) {
    const auto* own = dynamic_cast<const Signature*>(callable.getSignature());
    if (!own) return {0, 0};
    return {own->inputs().size(), own->outputs().size()};
}

}  // namespace

COSInterfacePtr handleAt(std::span<const COSInterfacePtr> handles, const std::string& token) {
    std::size_t index = 0;
    const char* end = token.data() + token.size();
    auto [next, error] = std::from_chars(token.data() + 1, end, index);
    if (error != std::errc() || next != end || index == 0 || index > handles.size())
        throw std::invalid_argument(token + " names no object: " + counted(handles.size(), "object", "objects") +
                                    " returned so far");
    return handles[index - 1];
}

Target resolve(const COSInterfacePtr& object, const std::string& member) {
    ClassObject& cls = classOf(object);
    Target target = memberOf(cls, member, "class " + cls.getClassID().str());
    target.object = object;
    return target;
}

Target resolve(const std::string& name, std::span<const COSInterfacePtr> handles) {
    if (name.empty()) throw std::invalid_argument("an empty name denotes nothing");
    if (name[0] == '@') {
        const auto dot = name.find('.');
        if (dot == std::string::npos) throw std::invalid_argument(name + " is an object, not something to call");
        COSInterfacePtr object = handleAt(handles, name.substr(0, dot));
        Object* instance = asObject(object);
        if (!instance || !instance->cls())
            throw std::invalid_argument(name.substr(0, dot) + " (" + (instance ? instance->className() : "no class") +
                                        ") has no class to look " + name.substr(dot + 1) + " up in");
        Target target =
            memberOf(*instance->cls(), name.substr(dot + 1), name.substr(0, dot) + " (" + instance->className() + ")");
        target.object = std::move(object);
        return target;
    }
    if (ClassObject* cls = findClass(name)) {
        COSMethodInfo* constructor = cls->findConstructor();
        if (!constructor) throw std::invalid_argument("class " + name + " has no constructor");
        return {Target::Kind::constructor, constructor, nullptr, {}, name};
    }
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        if (ClassObject* cls = findClass(name.substr(0, dot)))
            return memberOf(*cls, name.substr(dot + 1), "class " + name.substr(0, dot));
    if (COSMethodInfo* function = findFunction(name)) return {Target::Kind::function, function, nullptr, {}, name};
    throw std::invalid_argument("no class, method or function is named " + name);
}

std::vector<COSValue> call(const Target& target, const std::vector<COSValue>& inputs, int outputCount) {
    if (outputCount < 0) throw std::invalid_argument(target.name + ": the output count must not be negative");
    if (target.kind == Target::Kind::property) {
        if (!target.property) throw std::invalid_argument(target.name + ": no property to call");
        return callProperty(target, inputs, outputCount);
    }
    if (!target.callable) throw std::invalid_argument(target.name + ": nothing to call");
    COSMethodInfo& callable = *target.callable;

    std::vector<COSValue> all;
    const bool withObject = target.object && target.kind == Target::Kind::method && !omIsStaticMethod(callable);
    const auto [declaredInputs, declaredOutputs] = declaredCounts(callable);
    all.reserve(std::max(inputs.size() + (withObject ? 1 : 0), declaredInputs));
    if (withObject) {
        COSValue self(createArray({1, 1}, hxOBJECT_CLASS));
        *static_cast<COSInterfacePtr*>(self.content()->data()) = target.object;
        all.push_back(std::move(self));
    }
    all.insert(all.end(), inputs.begin(), inputs.end());
    const int inputCount = static_cast<int>(all.size());
    all.resize(std::max(all.size(), declaredInputs));  // room past the count holds no value

    const auto asked = static_cast<std::size_t>(outputCount);
    std::vector<COSValue> outputs(std::max({asked, declaredOutputs, std::size_t{1}}));
    int filled = outputCount;
    {
        detail::CallInProgress running;
        callable.invoke(client(), filled, outputs.data(), inputCount, all.data());
    }
    // What the callable reports filled, within what was asked: more would be outputs
    // nobody asked for, and a negative count none at all.
    outputs.resize(std::min(asked, static_cast<std::size_t>(std::max(filled, 0))));
    return outputs;
}

COSValue construct(const COSId& classId, const std::vector<COSValue>& inputs) {
    ClassObject* cls = findClass(classId.str());
    if (!cls) throw std::invalid_argument("no class " + classId.str());
    COSMethodInfo* constructor = cls->findConstructor();
    if (!constructor) throw std::invalid_argument("class " + classId.str() + " has no constructor");
    const Target target{Target::Kind::constructor, constructor, nullptr, {}, classId.str()};
    std::vector<COSValue> outputs = call(target, inputs, 1);
    return outputs.empty() ? COSValue() : std::move(outputs[0]);
}

COSValue getProperty(const COSInterfacePtr& object, const std::string& name) {
    ClassObject& cls = classOf(object);
    Target target{Target::Kind::property, nullptr, resolveProperty(cls, name).info, object,
                  cls.getClassID().str() + "." + name};
    if (!target.property) throw std::invalid_argument("class " + cls.getClassID().str() + " has no property " + name);
    return std::move(call(target, {}, 1).at(0));
}

void setProperty(const COSInterfacePtr& object, const std::string& name, COSValue value) {
    ClassObject& cls = classOf(object);
    Target target{Target::Kind::property, nullptr, resolveProperty(cls, name).info, object,
                  cls.getClassID().str() + "." + name};
    if (!target.property) throw std::invalid_argument("class " + cls.getClassID().str() + " has no property " + name);
    call(target, {std::move(value)}, 0);
}

std::vector<COSValue> invokeMethod(const COSInterfacePtr& object, const std::string& name,
                                   const std::vector<COSValue>& inputs, int outputCount) {
    ClassObject& cls = classOf(object);
    Target target{Target::Kind::method, resolveMethod(cls, name).info, nullptr, object,
                  cls.getClassID().str() + "." + name};
    if (!target.callable) throw std::invalid_argument("class " + cls.getClassID().str() + " has no method " + name);
    return call(target, inputs, outputCount);
}

std::vector<COSValue> invokeFunction(const std::string& dottedName, const std::vector<COSValue>& inputs,
                                     int outputCount) {
    COSMethodInfo* function = findFunction(dottedName);
    if (!function) throw std::invalid_argument("no function " + dottedName);
    return call({Target::Kind::function, function, nullptr, {}, dottedName}, inputs, outputCount);
}

}  // namespace orrery::reference
