#pragma once

// Using published classes and functions the way the host's users do, with C++ values:
// resolve by dotted name, construct, read and write properties, call methods and
// functions, read signatures. Names are found and called by the reference host's resolve
// and call (host/reference/calls.hpp), the same as the inspector's --call. Values cross
// with the typed layer's Converter<T> (strings given as literals travel as string
// scalars); a COSValue passes as it is. Lookups that find nothing, and outputs that do not
// convert, throw std::invalid_argument.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "convenience/typed/class_binding.hpp"
#include "convenience/typed/converter.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"

namespace orrery::testkit {

/// A host object, and what its users do with it. Copies share the object.
class Object {
public:
    Object() = default;
    explicit Object(COSInterfacePtr handle) : handle_(std::move(handle)) {}

    /// The object of a 1-by-1 object array.
    static Object from(const COSValue& value) {
        COSInterfacePtr handle = convenience::values::readObject(value);
        if (!handle) throw std::invalid_argument(convenience::values::describeValue(value) + " is not an object");
        return Object(std::move(handle));
    }

    const COSInterfacePtr& handle() const { return handle_; }
    /// The object as a 1-by-1 object array.
    COSValue value() const { return convenience::values::makeObject(handle_); }
    explicit operator bool() const { return static_cast<bool>(handle_); }
    /// The class's id, or "" when the object has none.
    std::string className() const {
        COSClass* cls = omGetObjectClass(handle_);
        return cls ? std::string(cls->getClassName()) : std::string();
    }

    template <class T = COSValue>
    T get(const std::string& property) const;
    template <class V>
    void set(const std::string& property, const V& value) const;
    /// Calls a method with the object as input 1; asks for one output per type in Out and
    /// gives nothing, that output, or a tuple of them.
    template <class... Out, class... Args>
    auto call(const std::string& method, const Args&... args) const;

    /// The C++ object of a bound class behind the host object. Bindings are per shared
    /// library (hidden, so that plugins cannot mix up their types): call this from the
    /// library or program that bound T.
    template <class T>
    T& as() const {
        T* object = convenience::typed::objectAs<T>(handle_);
        if (!object) throw std::invalid_argument(convenience::typed::describeObject<T>(handle_) + " has no C++ object");
        return *object;
    }

    /// Deletes the object as the host's delete does: its data goes now, handles stay.
    void deleteObject() const { reference::deleteObject(handle_); }

private:
    COSInterfacePtr handle_;
};

namespace detail {

template <class T>
COSValue toValue(const T& value) {
    if constexpr (std::is_convertible_v<const T&, const char*>)
        return convenience::values::makeString(std::string(value));
    else
        return convenience::typed::Converter<T>::make(value);
}

template <class T>
T fromValue(const COSValue& value, const std::string& what) {
    std::optional<T> converted = convenience::typed::Converter<T>::read(value);
    if (!converted)
        throw std::invalid_argument(what + " is " + convenience::values::describeValue(value) + ", not " +
                                    convenience::typed::Converter<T>::expected());
    return std::move(*converted);
}

// Nothing, one value, or a tuple, from outputs converted in order.
template <class... Out>
auto results(const std::vector<COSValue>& outputs, const std::string& what) {
    // A callable may leave the output count as it was and still fill fewer: an output it
    // never wrote holds no value at all, and must not pass for an empty one.
    std::size_t given = 0;
    while (given < outputs.size() && !outputs[given].isEmpty()) ++given;
    if (given < sizeof...(Out))
        throw std::invalid_argument(what + " gave " + std::to_string(given) + " of " + std::to_string(sizeof...(Out)) +
                                    " outputs");
    if constexpr (sizeof...(Out) == 1) {
        return fromValue<Out...>(outputs[0], "output 1 of " + what);
    } else if constexpr (sizeof...(Out) > 1) {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return std::tuple<Out...>(fromValue<Out>(outputs[I], "output " + std::to_string(I + 1) + " of " + what)...);
        }
        (std::index_sequence_for<Out...>());
    }
}

// Calls the target through the host's one way to call, asking for one output per type in Out.
template <class... Out>
auto callTarget(const reference::Target& target, const std::vector<COSValue>& inputs) {
    return results<Out...>(reference::call(target, inputs, sizeof...(Out)), target.name);
}

}  // namespace detail

/// The class at a dotted id, made and populated on the first request.
inline reference::ClassObject& resolveClass(const std::string& classId) {
    reference::ClassObject* cls = reference::findClass(classId);
    if (!cls) throw std::invalid_argument("no class " + classId);
    return *cls;
}

/// What a dotted name denotes, found by the host's resolver (reference::resolve): a class
/// (its constructor), "<class>.<method or property>", or a namespace function.
inline reference::Target resolve(const std::string& dottedName) { return reference::resolve(dottedName); }

/// The namespace function at a dotted name ("geo.util.area").
inline COSMethodInfo& resolveFunction(const std::string& dottedName) {
    COSMethodInfo* function = reference::findFunction(dottedName);
    if (!function) throw std::invalid_argument("no function " + dottedName);
    return *function;
}

/// A method of a class, by the class's id and the method's name; found as the host finds
/// it, on the class or through its superclasses.
inline COSMethodInfo& resolveMethod(const std::string& classId, const std::string& method) {
    COSMethodInfo* info = reference::resolveMethod(resolveClass(classId), method).info;
    if (!info) throw std::invalid_argument("class " + classId + " has no method " + method);
    return *info;
}

/// Runs the class's constructor with the arguments.
template <class... Args>
Object construct(const std::string& classId, const Args&... args) {
    return Object::from(reference::construct(makeId(classId), {detail::toValue(args)...}));
}

/// Calls what a dotted name denotes (resolve) with exactly the arguments given, asking for
/// one output per type in Out: a namespace function, a constructor, a method of a class
/// (one that is not static takes its object as the first argument) or a property (read
/// with the object alone, written with the object and a value).
template <class... Out, class... Args>
auto invoke(const std::string& dottedName, const Args&... args) {
    return detail::callTarget<Out...>(reference::resolve(dottedName), {detail::toValue(args)...});
}

/// Calls a method of a class with exactly the inputs given: a static method, or any
/// method with its object passed as the first argument.
template <class... Out, class... Args>
auto invokeStatic(const std::string& classId, const std::string& method, const Args&... args) {
    const reference::Target target{
        reference::Target::Kind::method, &resolveMethod(classId, method), nullptr, {}, classId + "." + method};
    return detail::callTarget<Out...>(target, {detail::toValue(args)...});
}

/// The signature the host sees, as text: "(double scalar x) -> (double scalar Output_1)".
/// The name is anything resolve finds that has one: a class (its constructor), a method, a
/// namespace function.
inline std::string signature(const std::string& dottedName) {
    const reference::Target target = reference::resolve(dottedName);
    if (!target.callable) throw std::invalid_argument(dottedName + " is a property, which has no signature");
    return reference::asSignature(target.callable->getSignature()).toString();
}

/// The data type id of a property as the host sees it ("double scalar"); "<unknown>" when
/// the host does not know the property's type.
inline std::string propertyType(const std::string& classId, const std::string& property) {
    COSPropInfo* info = reference::resolveProperty(resolveClass(classId), property).info;
    if (!info) throw std::invalid_argument("class " + classId + " has no property " + property);
    COSDataType* type = COSDataTypePtrHelper::getObject(info->getDataType());
    return type ? type->getTypeID().str() : "<unknown>";
}

template <class T>
T Object::get(const std::string& property) const {
    return detail::fromValue<T>(reference::getProperty(handle_, property), "property " + property);
}

template <class V>
void Object::set(const std::string& property, const V& value) const {
    reference::setProperty(handle_, property, detail::toValue(value));
}

template <class... Out, class... Args>
auto Object::call(const std::string& method, const Args&... args) const {
    return detail::results<Out...>(reference::invokeMethod(handle_, method, {detail::toValue(args)...}, sizeof...(Out)),
                                   method);
}

}  // namespace orrery::testkit

/// Test kit objects cross as themselves (and read from any 1-by-1 object array).
template <>
struct orrery::convenience::typed::Converter<orrery::testkit::Object> {
    static COSId typeId() { return makeId("any"); }
    static std::string expected() { return "an object"; }
    static std::optional<orrery::testkit::Object> read(const COSValue& value) {
        COSInterfacePtr handle = convenience::values::readObject(value);
        if (!handle) return std::nullopt;
        return orrery::testkit::Object(std::move(handle));
    }
    static COSValue make(const orrery::testkit::Object& object) { return object.value(); }
};
