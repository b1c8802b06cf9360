#pragma once

#include <span>
#include <string>
#include <vector>

#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/interned.hpp"
#include "host/method_info.hpp"
#include "host/prop_info.hpp"
#include "host/value.hpp"

namespace orrery::reference {

// What the host's users do with classes and objects, done the way the host does it: find
// what a name denotes (resolve), then call it (call). The test kit and the inspector both
// go through these two, so a plugin behaves the same under either. Lookups that find
// nothing, and calls that cannot be made, throw std::invalid_argument naming what is
// missing; host errors raised by a lookup (orrery:class:AmbiguousMember) and anything the
// called metadata throws pass through unchanged.

// What a name denotes.
struct Target {
    enum class Kind {
        function,  ///< a namespace function: called with the inputs given
        constructor,  ///< a class's constructor (its method named after the class)
        method,  ///< a method, static or not
        property,  ///< a property: read with no further input, written with one
    };
    Kind kind = Kind::function;
    COSMethodInfo* callable = nullptr;  ///< the function, constructor or method
    COSPropInfo* property = nullptr;  ///< the property
    /// The object the member was named through ("@1.area", or resolve(object, member)).
    /// It becomes input 1 of a method that is not static and the object of a property.
    /// Without it, a method that is not static and a property take their object as input 1.
    COSInterfacePtr object;
    /// For messages: "geo.Polygon" (its constructor), "geo.Polygon.area", "geo.util.area".
    std::string name;
};

// What a name denotes, tried in this order:
//   "@N.member"    a method or property of handles[N-1] (N counts from 1)
//   "pkg.Class"    the class's constructor
//   "pkg.Class.m"  a method of the class, else a property of it, found on the class or
//                  through its superclasses (member_lookup.hpp)
//   "pkg.f"        a namespace function, its package resolved as findFunction does
// Classes are made and populated on this first request.
ORRERY_HOST_API Target resolve(const std::string& name, std::span<const COSInterfacePtr> handles = {});
// A method or property of the object, found on its class or through its superclasses.
ORRERY_HOST_API Target resolve(const COSInterfacePtr& object, const std::string& member);

// The object that "@N" names: handles[N-1], N counting from 1. Anything else (no number,
// 0, past the end) throws std::invalid_argument saying how many objects there are.
ORRERY_HOST_API COSInterfacePtr handleAt(std::span<const COSInterfacePtr> handles, const std::string& token);

// Calls the target with the inputs, asking for `outputCount` outputs, and returns the
// outputs the callable reports having filled: fewer than asked when it says so, never more.
// The callable gets the inputs as given and checks their number itself; the arrays it is
// handed always have room for every input and output its signature declares (those past
// the count hold no value), so a callable that trusts its signature never reads or writes
// past them. A property is read (one output at most) or written (no output).
ORRERY_HOST_API std::vector<COSValue> call(const Target& target, const std::vector<COSValue>& inputs, int outputCount);

// Shorthands for the common cases, through resolve and call.

// Runs the class's constructor with the inputs and returns its first output.
ORRERY_HOST_API COSValue construct(const COSId& classId, const std::vector<COSValue>& inputs);
ORRERY_HOST_API COSValue getProperty(const COSInterfacePtr& object, const std::string& name);
ORRERY_HOST_API void setProperty(const COSInterfacePtr& object, const std::string& name, COSValue value);
// Calls a method with the object as the first input (a static method without it).
ORRERY_HOST_API std::vector<COSValue> invokeMethod(const COSInterfacePtr& object, const std::string& name,
                                                   const std::vector<COSValue>& inputs, int outputCount);
// Calls the function at a dotted name ("outer.inner.f").
ORRERY_HOST_API std::vector<COSValue> invokeFunction(const std::string& dottedName, const std::vector<COSValue>& inputs,
                                                     int outputCount);

}  // namespace orrery::reference
