#pragma once

#include <functional>
#include <string>
#include <utility>

#include "host/class_info.hpp"
#include "host/data_type.hpp"
#include "host/method_info.hpp"
#include "host/prop_info.hpp"

namespace orrery::testing {

// Host metadata written by hand, so that tests of the reference host do not depend on
// the library. Each answers its name and runs the hook a test gives it; every other
// answer is the host's own. Hand them to the host, which owns them from then on.

class ScriptedClassInfo final : public COSClassInfo {
public:
    explicit ScriptedClassInfo(std::string name) : name_(std::move(name)) {}

    const char* getName() override { return name_.c_str(); }
    void populateClass(COSClass* cls, const COSClient* client) override {
        ++populations;
        if (populate) populate(cls, client);
    }

    std::function<void(COSClass*, const COSClient*)> populate;
    int populations = 0;

private:
    std::string name_;
};

class ScriptedMethodInfo final : public COSMethodInfo {
public:
    explicit ScriptedMethodInfo(std::string name) : name_(std::move(name)) {}

    const char* getName() override { return name_.c_str(); }
    void invoke(const COSClient* client, int& outputCount, COSValue* outputs, int inputCount,
                const COSValue* inputs) override {
        if (call) call(client, outputCount, outputs, inputCount, inputs);
    }

    // What the host reads as static and abstract (host/assumed_operations.hpp).
    bool isAttribute3() override { return isStatic; }
    bool isAttribute4() override { return isAbstract; }

    std::function<void(const COSClient*, int&, COSValue*, int, const COSValue*)> call;
    bool isStatic = false;
    bool isAbstract = false;

private:
    std::string name_;
};

class ScriptedPropInfo final : public COSPropInfo {
public:
    explicit ScriptedPropInfo(std::string name, COSId type = makeId("any")) : name_(std::move(name)), type_(type) {}

    const char* getName() override { return name_.c_str(); }
    COSDataTypePtr getDataType() override { return COSDataTypePtr(type_); }
    COSValue getValue(COSInterface* object) override { return get ? get(object) : COSValue(); }
    void setValue(COSInterface* object, COSValue value) override {
        if (set) set(object, std::move(value));
    }

    std::function<COSValue(COSInterface*)> get;
    std::function<void(COSInterface*, COSValue)> set;

private:
    std::string name_;
    COSId type_;
};

}  // namespace orrery::testing
