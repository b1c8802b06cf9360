#pragma once

// How a C++ type is bound to a host class: the binding (class id, scalar type, bound
// superclass), the per-object slot that holds the C++ object, and reaching that object
// from a host object.

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "convenience/typed/errors.hpp"
#include "convenience/values.hpp"
#include "host/assumed_operations.hpp"
#include "host/cos_class.hpp"
#include "host/interned.hpp"

namespace orrery::convenience::typed {

/// The host class a C++ type is bound to. There is one per C++ type in each plugin,
/// filled by defineClass: one type, one host class (defining the type again rebinds it).
struct ClassBinding {
    std::string name;  ///< the class id's text, "geo.Polygon"
    COSId id;
    COSId scalarType;  ///< "geo.Polygon scalar"
    /// A bound superclass whose C++ type is a base of this one, and the pointer
    /// conversion to it: objects of this class can then stand where that one is expected.
    ClassBinding* base = nullptr;
    void* (*toBase)(void*) = nullptr;

    bool isBound() const noexcept { return !id.isEmpty(); }

    /// This binding or a bound subclass of it whose class has the id; null when none has.
    const ClassBinding* find(const COSId& classId) const noexcept;

    /// Converts a pointer to an object of `from` (this class or a bound subclass) to this class.
    void* upcast(void* object, const ClassBinding* from) const noexcept {
        while (from && from != this) {
            object = from->toBase(object);
            from = from->base;
        }
        return from ? object : nullptr;
    }
};

/// The binding of T. Each shared library (or program) has its own, like the rest of
/// its symbols: two plugins that happen to name a type alike cannot mix their bindings up.
template <class T>
inline ClassBinding bindingOf{};

namespace detail {
/// This library's bindings by class id, kept by defineClass. Finding the binding of an
/// object's class is then one lookup and a walk up its bound superclasses, however many
/// subclasses a base has: a call through an inherited member costs what an own one does.
inline std::unordered_map<COSId, const ClassBinding*> bindingsById;
}  // namespace detail

inline const ClassBinding* ClassBinding::find(const COSId& classId) const noexcept {
    if (classId == id) return this;
    const auto entry = detail::bindingsById.find(classId);
    if (entry == detail::bindingsById.end()) return nullptr;
    for (const ClassBinding* super = entry->second->base; super; super = super->base)
        if (super == this) return entry->second;
    return nullptr;
}

namespace detail {

/// What a bound class's allocateData gives the host for each object: the C++ object,
/// once a constructor (or a method returning the class by value) has made it.
class ObjectSlot {
public:
    explicit ObjectSlot(const ClassBinding* slotBinding) noexcept : binding(slotBinding) {}
    ObjectSlot(const ObjectSlot&) = delete;
    ObjectSlot& operator=(const ObjectSlot&) = delete;
    virtual ~ObjectSlot() = default;

    void* object() const noexcept { return object_; }

    const ClassBinding* const binding;  ///< the class the host object was made of

protected:
    void* object_ = nullptr;
};

/// The slot of a T: room for one T next to the slot, constructed on demand.
template <class T>
class SlotOf final : public ObjectSlot {
public:
    SlotOf() noexcept : ObjectSlot(&bindingOf<T>) {}
    ~SlotOf() override {
        if (object_) static_cast<T*>(object_)->~T();
    }

    template <class... Args>
    T& emplace(Args&&... args) {
        if constexpr (std::is_abstract_v<T>) {
            throw std::logic_error("an abstract class has no objects of its own");
        } else {
            if (object_) throw std::logic_error("the object was constructed already");
            T* made = new (static_cast<void*>(storage_)) T(std::forward<Args>(args)...);
            object_ = made;
            return *made;
        }
    }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
};

/// The bound class's name for messages, or the C++ side's fallback when T is not bound.
template <class T>
const std::string& boundName() {
    static const std::string unbound = "(unbound class)";
    return bindingOf<T>.isBound() ? bindingOf<T>.name : unbound;
}

}  // namespace detail

/// The T behind a host object: an object of T's class or of a bound subclass, constructed
/// and not deleted. Null for anything else.
template <class T>
T* objectAs(COSInterface* object) noexcept {
    const ClassBinding& wanted = bindingOf<T>;
    COSClass* cls = omGetObjectClass(object);
    if (!cls || !wanted.find(cls->getClassID())) return nullptr;
    // The class is one of ours, so its data is one of our slots.
    const auto* slot = static_cast<const detail::ObjectSlot*>(omGetObjectData(object));
    if (!slot || !slot->object()) return nullptr;
    return static_cast<T*>(wanted.upcast(slot->object(), slot->binding));
}

/// For messages about an object that is not a usable T: "a deleted geo.Polygon object",
/// "an unconstructed geo.Polygon object", "a geo.Shape object", "no object".
template <class T>
std::string describeObject(COSInterface* object) {
    if (!object) return "no object";
    COSClass* cls = omGetObjectClass(object);
    if (!cls) return "an object of no class";
    const std::string name = cls->getClassName();
    if (!bindingOf<T>.find(cls->getClassID())) return values::detail::withArticle(name) + " object";
    const auto* slot = static_cast<const detail::ObjectSlot*>(omGetObjectData(object));
    if (!slot) return "a deleted " + name + " object";
    return slot->object() ? values::detail::withArticle(name) + " object" : "an unconstructed " + name + " object";
}

/// A new host object of T's class holding a T made from the arguments; `member` names the
/// caller in errors. ClassNotAvailableError when the host has no such class.
template <class T, class... Args>
COSInterfacePtr makeBoundObject(const std::string& member, Args&&... args) {
    const ClassBinding& binding = bindingOf<T>;
    COSClass* cls = binding.isBound() ? COSClass::getClass(binding.id) : nullptr;
    if (!cls) raiseClassNotAvailable(member, detail::boundName<T>());
    COSInterfacePtr object = omCreateObject(cls);
    auto* slot = static_cast<detail::ObjectSlot*>(omGetObjectData(object));
    // Someone replaced the class's data hooks: the data is not ours to fill.
    if (!slot || slot->binding != &binding)
        throw std::logic_error("the data hooks of " + binding.name + " no longer make typed objects");
    static_cast<detail::SlotOf<T>*>(slot)->emplace(std::forward<Args>(args)...);
    return object;
}

}  // namespace orrery::convenience::typed
