#include "host/reference/data_types.hpp"

#include <stdexcept>

#include "host/exception.hpp"
#include "host/reference/arrays.hpp"
#include "host/reference/counters.hpp"
#include "host/reference/detail/array_object.hpp"
#include "host/reference/detail/counters.hpp"
#include "host/reference/registry.hpp"

namespace orrery::reference {

struct InvalidPropertyDatatype;

namespace {

constexpr const char* kScalar = " scalar";
constexpr const char* kVector = " vector";

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isBuiltinClassName(const std::string& name) {
    for (const std::string& builtin : builtinClassNames())
        if (name == builtin) return true;
    return false;
}

// Arrays start zeroed: a 1-by-1 double is 0, a 1-by-1 logical false.
COSValue defaultFor(const std::string& className) {
    if (className == "double") return COSValue(createArray({1, 1}, hxDOUBLE_CLASS));
    if (className == "logical") return COSValue(createArray({1, 1}, hxLOGICAL_CLASS));
    if (className == "char" || className == "string") return COSValue(createArray({0, 0}, hxCHAR_CLASS));
    if (className == "any") return COSValue(createArray({0, 0}, hxDOUBLE_CLASS));
    return COSValue(createArray({0, 0}, hxOBJECT_CLASS));
}

COSInterfacePtr builtinType(const std::string& id) {
    // Made once and never freed, like the host's own type table; the table is not
    // destroyed at exit either, so the types stay reachable to the very end.
    struct Entry {
        std::string id;
        DataType* type;
    };
    static const auto* table = [] {
        auto* all = new std::vector<Entry>();
        auto add = [&](const std::string& text) { all->push_back({text, new DataType(makeId(text), true)}); };
        add("any");
        for (const std::string& name : builtinClassNames())
            for (const std::string& typeName : {name, scalarTypeName(name), vectorTypeName(name)}) add(typeName);
        return all;
    }();
    for (const Entry& entry : *table)
        if (entry.id == id) return COSInterfacePtr(entry.type);
    return {};
}

}  // namespace

const std::vector<std::string>& builtinClassNames() {
    static const auto* names = new std::vector<std::string>{"double", "logical", "char", "string"};
    return *names;
}

bool isBuiltinClassType(const std::string& typeId) { return isBuiltinClassName(classNameOfType(typeId)); }

std::string scalarTypeName(const std::string& className) { return className + kScalar; }
std::string vectorTypeName(const std::string& className) { return className + kVector; }

std::string classNameOfType(const std::string& typeId) {
    for (const std::string suffix : {kScalar, kVector})
        if (endsWith(typeId, suffix)) return typeId.substr(0, typeId.size() - suffix.size());
    return typeId;
}

DataType::DataType(COSId id, bool immortal) : COSInterface(immortal), id_(id) {}

COSId DataType::getTypeID() { return id_; }

COSValue DataType::makeDefaultValue(COSId typeId) {
    COSValue value = defaultFor(classNameOfType(typeId.str()));
    detail::ArrayObject::of(value.content()).markOutstandingDefault();
    ++callCounts().defaultValuesMade;
    return value;
}

void DataType::releaseValue(COSValue value) {
    ++callCounts().defaultValuesReleased;
    if (value.content()) detail::ArrayObject::of(value.content()).releaseDefault();
}

}  // namespace orrery::reference

namespace orrery {

COSDataType::~COSDataType() = default;

COSDataTypePtr::COSDataTypePtr(const COSId& typeId) : type_(COSTypeRepository::getType(typeId)) {}

COSDataType* COSDataTypePtrHelper::getObject(const COSDataTypePtr& type) noexcept {
    return dynamic_cast<COSDataType*>(type.interface().get());
}

COSInterfacePtr COSTypeRepository::getType(const COSId& typeId) {
    ++reference::callCounts().typeLookups;
    if (typeId.isEmpty()) return {};
    const std::string& text = typeId.str();
    if (auto builtin = reference::builtinType(text)) return builtin;
    // A class of the registry has a scalar and a vector data type, made on demand.
    const std::string name = reference::classNameOfType(text);
    if (name != text && reference::isKnownClass(name)) return COSInterfacePtr(new reference::DataType(typeId, false));
    return {};
}

void issueInvalidPropertyDatatypeAssertion(const COSId& propertyName, const COSId& typeId) {
    reference::detail::recordInvalidTypeReport(propertyName, typeId);
    using namespace foundation::core::except;
    throw Exception<reference::InvalidPropertyDatatype>(
        Message{{propertyName.str(), typeId.str()}, "orrery:class", "InvalidPropertyDatatype"});
}

}  // namespace orrery
