#pragma once

// ClassBuilder<T>: binds a C++ class to a host class by filling the class, property,
// method and constructor records from C++ member pointers and callables. Every record
// it makes stays reachable (record(), propertyRecord(), methodRecord(),
// constructorRecords()) and can be adjusted by hand before publishing.
//
//     defineClass<Polygon>("geo.Polygon")
//         .constructor<std::string>({"name"})
//         .property("name", &Polygon::name)          // a data member: settable
//         .property("area", &Polygon::area)          // a const member function: read-only
//         .method("addVertex", &Polygon::addVertex, {"x", "y"})
//         .method("centroid", &Polygon::centroid, {}, {"cx", "cy"})  // a pair: two outputs
//         .staticMethod("unitSquare", &Polygon::unitSquare)
//         .doc("The square with corners (0, 0) and (1, 1).")  // describes unitSquare
//         .publish();
//
// A class bound with .superclass(base) has the base's members on the host without binding
// them again: the host finds them through its superclasses.

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "convenience/class_info_struct.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"
#include "convenience/typed/class_binding.hpp"
#include "convenience/typed/converter.hpp"
#include "convenience/typed/detail/callable_record.hpp"
#include "convenience/typed/detail/invoker.hpp"
#include "convenience/typed/detail/simple_name.hpp"
#include "convenience/typed/errors.hpp"
#include "convenience/values.hpp"
#include "host/interned.hpp"

namespace orrery::convenience::typed {

namespace detail {
template <std::size_t I, class List>
struct ParamAt;
template <std::size_t I, class... P>
struct ParamAt<I, TypeList<P...>> {
    using type = std::tuple_element_t<I, std::tuple<P...>>;
};
template <std::size_t I, class Fn>
using ParamOf = typename ParamAt<I, typename CallableTraits<Fn>::Params>::type;
}  // namespace detail

template <class T>
class ClassBuilder {
public:
    /// `className` is the class's full id ("geo.Polygon"); `recordName` the name the
    /// record carries: the same for a class published on its own, the last component for a
    /// class in a namespace record. Use defineClass or NamespaceBuilder::defineClass.
    ClassBuilder(std::string className, const std::string& recordName, bool inNamespace)
        : state_(std::make_shared<State>()) {
        state_->className = std::move(className);
        state_->inNamespace = inNamespace;
        bind();
        auto& record = *(state_->record = createClass(recordName.c_str()));
        state_->described = &record.description;
        // Each host object carries a slot for its C++ object, given back when the object goes.
        record.allocateDataFcn = [](COSInterface*) -> void* { return new detail::SlotOf<T>(); };
        record.objectDataFcn = [](COSInterface*, void* data) { delete static_cast<detail::ObjectSlot*>(data); };
    }

    const std::shared_ptr<COSClassInfoStruct>& record() const { return state_->record; }
    const std::string& className() const { return state_->className; }

    /// The description of what was defined last: the class itself until a member is added,
    /// then that member (its record's `description`, which the host shows).
    ClassBuilder& doc(const std::string& text) {
        *state_->described = text;
        return *this;
    }

    /// A host superclass by id; the C++ side knows nothing of it.
    ClassBuilder& superclass(const std::string& classId) {
        state_->record->addSuperclass(makeId(classId), false, 0, false);
        return *this;
    }

    /// A bound superclass. When B is a C++ base of T, objects of this class can also stand
    /// where a B is expected (as inputs of B's methods, for instance).
    template <class B>
    ClassBuilder& superclass(const ClassBuilder<B>& base) {
        superclass(base.className());
        if constexpr (std::is_base_of_v<B, T> && !std::is_same_v<B, T>) {
            ClassBinding& own = bindingOf<T>;
            ClassBinding& super = bindingOf<B>;
            own.base = &super;
            own.toBase = [](void* object) -> void* { return static_cast<B*>(static_cast<T*>(object)); };
            if (std::find(super.derived.begin(), super.derived.end(), &own) == super.derived.end())
                super.derived.push_back(&own);
        }
        return *this;
    }

    /// A constructor taking Args: it makes the host object and a T from the inputs.
    template <class... Args>
    ClassBuilder& constructor(const std::vector<std::string>& inputNames = {}) {
        static_assert(!std::is_abstract_v<T>, "an abstract class has no constructor");
        static_assert(std::is_constructible_v<T, Args...>, "the class has no C++ constructor taking these arguments");
        auto record = createConstructor();
        const std::string member = state_->className;
        auto make = [member](Args... args) -> COSValue {
            return values::makeObject(makeBoundObject<T>(member, std::forward<Args>(args)...));
        };
        detail::fillCallable(*record, std::move(make), member, false, inputNames, {});
        // The constructor's output is the new object, typed by the class itself.
        record->outputTypes.clear();
        state_->described = &record->description;
        state_->record->addConstructor(record);
        state_->constructors.push_back(record);
        return *this;
    }

    /// A property from a data member (settable unless const), a getter (read-only: a const
    /// member function or a callable taking const T&), or a getter and a setter.
    template <class Getter>
    ClassBuilder& property(const std::string& name, Getter getter) {
        if constexpr (std::is_member_object_pointer_v<Getter>) {
            using Field = std::remove_reference_t<decltype(std::declval<T&>().*getter)>;
            using V = std::remove_cv_t<Field>;
            auto get = [getter](const T& self) -> const V& { return self.*getter; };
            if constexpr (std::is_const_v<Field>)
                return addProperty(name, get, nullptr);
            else
                return addProperty(name, get, [getter](T& self, V value) { self.*getter = std::move(value); });
        } else {
            return addProperty(name, detail::AsFreeCallable<T, Getter>::make(getter), nullptr);
        }
    }
    template <class Getter, class Setter>
    ClassBuilder& property(const std::string& name, Getter getter, Setter setter) {
        return addProperty(name, detail::AsFreeCallable<T, Getter>::make(getter),
                           detail::AsFreeCallable<T, Setter>::make(setter));
    }

    /// A method: a member function of T (or of a base), or a callable whose first
    /// parameter is the object. The host passes the object as input 1 ("self");
    /// `inputNames` names the others. A std::pair or std::tuple result gives several outputs.
    template <class Fn>
    ClassBuilder& method(const std::string& name, Fn fn, const std::vector<std::string>& inputNames = {},
                         const std::vector<std::string>& outputNames = {}) {
        auto call = detail::AsFreeCallable<T, Fn>::make(fn);
        static_assert(detail::InvokerFor<decltype(call)>::total > 0, "a method's first parameter is its object");
        using Self = detail::ParamOf<0, decltype(call)>;
        static_assert(detail::BoundClass<std::remove_cvref_t<std::remove_pointer_t<Self>>>,
                      "a method's first parameter is its object, of a bound class");
        return addMethod(name, std::move(call), true, inputNames, outputNames);
    }

    /// A method called without an object; the host learns that it is static.
    template <class Fn>
    ClassBuilder& staticMethod(const std::string& name, Fn fn, const std::vector<std::string>& inputNames = {},
                               const std::vector<std::string>& outputNames = {}) {
        addMethod(name, std::move(fn), false, inputNames, outputNames);
        state_->methods.back()->attribute3 = true;  // static, to the host (host/assumed_operations.hpp)
        return *this;
    }

    /// A method with the signature Sig (R(Args...), the object not counted) and no
    /// implementation: subclasses implement it; reaching this one raises AbstractMemberError.
    template <class Sig>
    ClassBuilder& abstractMethod(const std::string& name, const std::vector<std::string>& inputNames = {},
                                 const std::vector<std::string>& outputNames = {}) {
        detail::requireSimpleName(name, "method", "class " + state_->className);
        auto record = createMethod(name);
        detail::fillCallable(*record, abstractCall(static_cast<Sig*>(nullptr)), memberName(name), true, inputNames,
                             outputNames);
        const std::string member = memberName(name);
        record->invokeFcn = [member](const COSClient*, int&, COSValue*, int, const COSValue*) {
            raiseAbstractMember(member);
        };
        record->attribute4 = true;  // abstract, to the host (host/assumed_operations.hpp)
        state_->described = &record->description;
        state_->record->addMethod(record);
        state_->methods.push_back(record);
        return *this;
    }

    /// The records this builder made, by member name (the first of that name), or null.
    std::shared_ptr<COSPropInfoStruct> propertyRecord(const std::string& name) const {
        return findNamed(state_->properties, name);
    }
    std::shared_ptr<COSMethodInfoStruct> methodRecord(const std::string& name) const {
        return findNamed(state_->methods, name);
    }
    const std::vector<std::shared_ptr<COSConstructorInfoStruct>>& constructorRecords() const {
        return state_->constructors;
    }

    /// Registers the class with the host's class registry. A class made through a
    /// NamespaceBuilder reaches the host with its namespace instead (std::logic_error here).
    void publish() const {
        if (state_->inNamespace)
            throw std::logic_error(state_->className + " belongs to a namespace: publish the namespace instead");
        state_->record->publish();
    }

private:
    // Shared by copies of the builder; never referred to by the records, so that the
    // records do not keep it alive.
    struct State {
        std::string className;
        bool inNamespace = false;
        std::shared_ptr<COSClassInfoStruct> record;
        std::vector<std::shared_ptr<COSPropInfoStruct>> properties;
        std::vector<std::shared_ptr<COSMethodInfoStruct>> methods;
        std::vector<std::shared_ptr<COSConstructorInfoStruct>> constructors;
        std::string* described = nullptr;  ///< the description doc() sets, in a record held above
    };

    void bind() {
        ClassBinding& binding = bindingOf<T>;
        if (binding.base) {  // a new definition starts without the old one's superclass
            auto& siblings = binding.base->derived;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), &binding), siblings.end());
        }
        binding.name = state_->className;
        binding.id = makeId(binding.name);
        binding.scalarType = makeId(binding.name + " scalar");
        binding.base = nullptr;
        binding.toBase = nullptr;
    }

    std::string memberName(const std::string& name) const { return state_->className + "." + name; }

    template <class Record>
    static std::shared_ptr<Record> findNamed(const std::vector<std::shared_ptr<Record>>& records,
                                             const std::string& name) {
        for (const auto& record : records)
            if (record->name == name) return record;
        return nullptr;
    }

    template <class R, class... Args>
    static auto abstractCall(R (*)(Args...)) {
        return [](const T&, Args...) -> R { throw std::logic_error("abstract"); };
    }

    template <class Fn>
    ClassBuilder& addMethod(const std::string& name, Fn fn, bool hasSelf, const std::vector<std::string>& inputNames,
                            const std::vector<std::string>& outputNames) {
        detail::requireSimpleName(name, "method", "class " + state_->className);
        auto record = createMethod(name);
        detail::fillCallable(*record, std::move(fn), memberName(name), hasSelf, inputNames, outputNames);
        state_->described = &record->description;
        state_->record->addMethod(record);
        state_->methods.push_back(record);
        return *this;
    }

    template <class Getter, class Setter>
    ClassBuilder& addProperty(const std::string& name, Getter getter, Setter setter) {
        detail::requireSimpleName(name, "property", "class " + state_->className);
        using R = typename detail::CallableTraits<Getter>::Result;
        using V = std::remove_cvref_t<R>;
        auto site = std::make_shared<const detail::CallSite>(detail::CallSite{memberName(name), {}, {}});
        auto record = createProperty(name.c_str());
        record->SetTypeAndImplicitFactoryDefaultFcn(detail::typeIdFor<V>(site->member, "its value"));
        record->getFcn = [site, getter](COSInterface* object) -> COSValue {
            T& self = selfOf(*site, object);
            decltype(auto) value = detail::guarded(*site, [&]() -> R { return std::invoke(getter, self); });
            return detail::converting(*site, [&] { return Converter<V>::make(std::forward<R>(value)); });
        };
        if constexpr (std::is_null_pointer_v<Setter>) {
            // Read-only: the host learns it from the set access, and a set that reaches
            // the property anyway is refused.
            record->setterAccess = COSAccessImmutable;
            record->setFcn = [site](COSInterface*, COSValue) { raiseReadOnlyProperty(site->member); };
        } else {
            using A = detail::Arg<detail::ParamOf<1, Setter>>;
            record->setFcn = [site, setter](COSInterface* object, COSValue value) {
                T& self = selfOf(*site, object);
                typename A::Holder holder;
                if (!A::load(value, holder)) raiseBadPropertyValue(site->member, A::expected(), A::describe(value));
                detail::guarded(*site, [&] { std::invoke(setter, self, A::pass(holder)); });
            };
        }
        state_->described = &record->description;
        state_->record->addProperty(record);
        state_->properties.push_back(record);
        return *this;
    }

    static T& selfOf(const detail::CallSite& site, COSInterface* object) {
        T* self = objectAs<T>(object);
        if (!self) raiseInvalidObject(site.member, detail::boundName<T>(), describeObject<T>(object));
        return *self;
    }

    std::shared_ptr<State> state_;
};

/// Binds T to the host class with the full id `className`; publish() registers it.
template <class T>
ClassBuilder<T> defineClass(const std::string& className) {
    return ClassBuilder<T>(className, className, false);
}

}  // namespace orrery::convenience::typed
