#include <stdexcept>
#include <unordered_set>

#include "host/data_type.hpp"
#include "host/exception.hpp"
#include "host/reference/counters.hpp"
#include "host/reference/objects.hpp"
#include "host/reference/reference_host.hpp"

namespace orrery::reference {
bool isRegisteredClassName(const std::string& name);  // registry.cpp
struct InvalidPropertyDatatype;
}  // namespace orrery::reference

namespace orrery {
namespace {

const char* const builtinNames[] = {"double", "logical", "char", "string"};

bool isBuiltin(const std::string& name) {
    for (const char* builtin : builtinNames)
        if (name == builtin) return true;
    return false;
}

// The class name a type id stands for: "double" for "double", "double scalar" and
// "double vector"; empty for "any".
std::string className(const std::string& typeId) {
    for (const char* suffix : {" scalar", " vector"}) {
        std::string s = suffix;
        if (typeId.size() > s.size() && typeId.compare(typeId.size() - s.size(), s.size(), s) == 0)
            return typeId.substr(0, typeId.size() - s.size());
    }
    return typeId;
}

class RefDataType final : public COSInterface, public COSDataType {
public:
    RefDataType(COSId id, bool immortal) : COSInterface(immortal), id_(id) {}

    COSId getTypeID() override { return id_; }

    COSValue makeDefaultValue(COSId typeId) override {
        ++reference::callCounts().defaultValuesMade;
        COSValue value = defaultFor(className(typeId.str()));
        outstanding().insert(value.content());
        ++reference::detail::counters().defaultValues;
        return value;
    }

    // Only values this host handed out count as given back.
    void releaseValue(COSValue value) override {
        ++reference::callCounts().defaultValuesReleased;
        if (outstanding().erase(value.content())) --reference::detail::counters().defaultValues;
    }

private:
    static COSValue defaultFor(const std::string& name) {
        if (name == "double") return reference::makeDouble(0.0);
        if (name == "logical") return reference::makeLogical(false);
        if (name == "char" || name == "string") return reference::makeChars("");
        if (name == "any") return COSValue(reference::ArrayFactory::create({0, 0}, hxDOUBLE_CLASS, hxREAL));
        return COSValue(reference::ArrayFactory::create({0, 0}, hxOBJECT_CLASS, hxREAL));
    }

    // Never destroyed: records may give defaults back during static destruction.
    static std::unordered_set<const hxArray*>& outstanding() {
        static auto* values = new std::unordered_set<const hxArray*>();
        return *values;
    }

    COSId id_;
};

COSInterfacePtr builtinType(const std::string& id) {
    // Made once and never freed, like the host's own type table; the table is not
    // destroyed at exit either, so the types stay reachable to the very end.
    struct Entry {
        std::string id;
        RefDataType* type;
    };
    static const auto* table = [] {
        auto* all = new std::vector<Entry>();
        auto add = [&](const std::string& text) { all->push_back({text, new RefDataType(makeId(text), true)}); };
        add("any");
        for (const char* name : builtinNames)
            for (const char* suffix : {"", " scalar", " vector"}) add(std::string(name) + suffix);
        return all;
    }();
    for (const Entry& entry : *table)
        if (entry.id == id) return COSInterfacePtr(entry.type);
    return {};
}

}  // namespace

COSDataType::~COSDataType() = default;

COSDataTypePtr::COSDataTypePtr(const COSId& typeId) : type_(COSTypeRepository::getType(typeId)) {}

COSDataType* COSDataTypePtrHelper::getObject(const COSDataTypePtr& type) noexcept {
    return dynamic_cast<COSDataType*>(type.interface().get());
}

COSInterfacePtr COSTypeRepository::getType(const COSId& typeId) {
    ++reference::callCounts().typeLookups;
    const std::string& text = typeId.str();
    if (typeId.isEmpty()) return {};
    if (auto builtin = builtinType(text)) return builtin;
    std::string name = className(text);
    if (name != text && !isBuiltin(name) && reference::isRegisteredClassName(name))
        return COSInterfacePtr(new RefDataType(typeId, false));
    return {};
}

void issueInvalidPropertyDatatypeAssertion(const COSId& propertyName, const COSId& typeId) {
    auto& calls = reference::callCounts();
    ++calls.invalidTypeReports;
    calls.lastInvalidTypeName = propertyName;
    calls.lastInvalidType = typeId;
    using namespace foundation::core::except;
    throw Exception<reference::InvalidPropertyDatatype>(
        Message{{propertyName.str(), typeId.str()}, "orrery:class", "InvalidPropertyDatatype"});
}

}  // namespace orrery
