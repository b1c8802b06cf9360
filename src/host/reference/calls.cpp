#include "host/reference/calls.hpp"

#include <algorithm>
#include <stdexcept>

#include "host/reference/class_object.hpp"
#include "host/reference/detail/calls_in_progress.hpp"
#include "host/reference/namespace_tree.hpp"
#include "host/reference/objects.hpp"
#include "host/reference/registry.hpp"
#include "host/reference/values.hpp"

namespace orrery::reference {
namespace {

ClassObject& classOf(const COSInterfacePtr& object) {
    Object* instance = asObject(object);
    if (!instance) throw std::invalid_argument("not an object of the reference host");
    if (!instance->cls()) throw std::invalid_argument("the object's class is gone");
    return *instance->cls();
}

COSPropInfo& propertyOf(const COSInterfacePtr& object, const std::string& name) {
    ClassObject& cls = classOf(object);
    COSPropInfo* info = cls.findProperty(name);
    if (!info) throw std::invalid_argument("class " + cls.getClassID().str() + " has no property " + name);
    return *info;
}

// Runs the callable with the host's arguments and keeps the outputs it reports filled:
// fewer than asked for, never more than there is room for.
std::vector<COSValue> call(COSMethodInfo& callable, const std::vector<COSValue>& inputs, int outputCount) {
    std::vector<COSValue> outputs(static_cast<std::size_t>(outputCount));
    detail::CallInProgress running;
    callable.invoke(client(), outputCount, outputs.data(), static_cast<int>(inputs.size()), inputs.data());
    outputs.resize(std::min(outputs.size(), static_cast<std::size_t>(std::max(outputCount, 0))));
    return outputs;
}

}  // namespace

COSValue construct(const COSId& classId, const std::vector<COSValue>& inputs) {
    ClassObject* cls = findClass(classId.str());
    if (!cls) throw std::invalid_argument("no class " + classId.str());
    COSMethodInfo* constructor = cls->findConstructor();
    if (!constructor) throw std::invalid_argument("class " + classId.str() + " has no constructor");
    COSValue output;
    int outputCount = 1;
    detail::CallInProgress running;
    constructor->invoke(client(), outputCount, &output, static_cast<int>(inputs.size()), inputs.data());
    return output;
}

COSValue getProperty(const COSInterfacePtr& object, const std::string& name) {
    COSPropInfo& property = propertyOf(object, name);
    detail::CallInProgress running;
    return property.getValue(object);
}

void setProperty(const COSInterfacePtr& object, const std::string& name, COSValue value) {
    COSPropInfo& property = propertyOf(object, name);
    detail::CallInProgress running;
    property.setValue(object, std::move(value));
}

std::vector<COSValue> invokeMethod(const COSInterfacePtr& object, const std::string& name,
                                   const std::vector<COSValue>& inputs, int outputCount) {
    ClassObject& cls = classOf(object);
    COSMethodInfo* method = cls.findMethod(name);
    if (!method) throw std::invalid_argument("class " + cls.getClassID().str() + " has no method " + name);
    if (outputCount < 0) throw std::invalid_argument("invokeMethod: outputCount must not be negative");
    std::vector<COSValue> all{makeObjects({object})};
    all.insert(all.end(), inputs.begin(), inputs.end());
    return call(*method, all, outputCount);
}

std::vector<COSValue> invokeFunction(const std::string& dottedName, const std::vector<COSValue>& inputs,
                                     int outputCount) {
    COSMethodInfo* function = findFunction(dottedName);
    if (!function) throw std::invalid_argument("no function " + dottedName);
    if (outputCount < 0) throw std::invalid_argument("invokeFunction: outputCount must not be negative");
    return call(*function, inputs, outputCount);
}

}  // namespace orrery::reference
