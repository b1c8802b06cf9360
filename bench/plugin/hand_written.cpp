#include "plugin/hand_written.hpp"

#include "convenience/configurable_class_info.hpp"

namespace bench {
namespace {

using namespace orrery;

class HandPropInfo final : public COSPropInfo {
public:
    HandPropInfo(std::string name, COSValue stored) : name_(std::move(name)), stored_(std::move(stored)) {}
    const char* getName() override { return name_.c_str(); }
    bool isPropertyAttribute7() override { return attribute7_; }
    COSValue getValue(COSInterface*) override { return stored_; }

private:
    std::string name_;
    COSValue stored_;
    bool attribute7_ = true;
};

class HandMethodInfo final : public COSMethodInfo {
public:
    void invoke(const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue*) override {
        invokeSink() += inputCount;
        outputCount = 0;
    }
};

class HookMethodInfo final : public COSMethodInfo {
public:
    using Invoke = std::function<void(const COSClient*, int&, COSValue*, int, const COSValue*)>;
    explicit HookMethodInfo(Invoke invoke) : invoke_(std::move(invoke)) {}
    void invoke(const COSClient* client, int& outputCount, COSValue* outputs, int inputCount,
                const COSValue* inputs) override {
        invoke_(client, outputCount, outputs, inputCount, inputs);
    }

private:
    Invoke invoke_;
};

class HookPropInfo final : public COSPropInfo {
public:
    explicit HookPropInfo(std::function<COSValue(COSInterface*)> get) : get_(std::move(get)) {}
    COSValue getValue(COSInterface* object) override { return get_(object); }

private:
    std::function<COSValue(COSInterface*)> get_;
};

class PointerMethodInfo final : public COSMethodInfo {
public:
    PointerMethodInfo(InvokePointer invoke, void* state) : invoke_(invoke), state_(state) {}
    void invoke(const COSClient* client, int& outputCount, COSValue* outputs, int inputCount,
                const COSValue* inputs) override {
        invoke_(state_, client, outputCount, outputs, inputCount, inputs);
    }

private:
    InvokePointer invoke_;
    void* state_;
};

class PointerPropInfo final : public COSPropInfo {
public:
    PointerPropInfo(GetPointer get, void* state) : get_(get), state_(state) {}
    COSValue getValue(COSInterface* object) override { return get_(state_, object); }

private:
    GetPointer get_;
    void* state_;
};

class HandClassInfo final : public COSClassInfo {
public:
    explicit HandClassInfo(std::string name) : name_(std::move(name)) {}
    const char* getName() override { return name_.c_str(); }
    bool isClassFlag10() override { return flag10_; }

private:
    std::string name_;
    bool flag10_ = true;
};

}  // namespace

std::int64_t& invokeSink() {
    static std::int64_t sink = 0;
    return sink;
}

COSPropInfo* makeHandPropInfo(const std::string& name, COSValue stored) {
    return new HandPropInfo(name, std::move(stored));
}
COSMethodInfo* makeHandMethodInfo() { return new HandMethodInfo(); }
COSMethodInfo* makeHookMethodInfo(std::function<void(const COSClient*, int&, COSValue*, int, const COSValue*)> invoke) {
    return new HookMethodInfo(std::move(invoke));
}
COSPropInfo* makeHookPropInfo(std::function<COSValue(COSInterface*)> get) { return new HookPropInfo(std::move(get)); }
COSMethodInfo* makePointerMethodInfo(InvokePointer invoke, void* state) { return new PointerMethodInfo(invoke, state); }
COSPropInfo* makePointerPropInfo(GetPointer get, void* state) { return new PointerPropInfo(get, state); }
COSClassInfo* makeHandClassInfo(const std::string& name) { return new HandClassInfo(name); }
COSClassInfo* makeClassAdaptor(std::shared_ptr<convenience::COSClassInfoStruct> record) {
    return new convenience::ClassInfoAdaptor(std::move(record));
}

}  // namespace bench
