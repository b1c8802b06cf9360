#pragma once

#include <string>
#include <vector>

#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/interned.hpp"
#include "host/value.hpp"

namespace orrery::reference {

// What the host's users do with classes and objects, done the way the host does it.
// Each throws std::invalid_argument naming what it could not find.

// Runs the class's constructor (its method named after the class) with the inputs
// and returns its first output.
ORRERY_HOST_API COSValue construct(const COSId& classId, const std::vector<COSValue>& inputs);
ORRERY_HOST_API COSValue getProperty(const COSInterfacePtr& object, const std::string& name);
ORRERY_HOST_API void setProperty(const COSInterfacePtr& object, const std::string& name, COSValue value);
// Properties and methods are found on the object's class or its superclasses
// (member_lookup.hpp); an ambiguous name raises orrery:class:AmbiguousMember.

// Calls a method with the object as the first input (a static method without it), asking
// for `outputCount` outputs; returns as many as the method reports having filled.
ORRERY_HOST_API std::vector<COSValue> invokeMethod(const COSInterfacePtr& object, const std::string& name,
                                                   const std::vector<COSValue>& inputs, int outputCount);
// Calls the function at a dotted name ("outer.inner.f"), resolving its package as
// findFunction does, asking for `outputCount` outputs; returns as many as the function
// reports having filled.
ORRERY_HOST_API std::vector<COSValue> invokeFunction(const std::string& dottedName, const std::vector<COSValue>& inputs,
                                                     int outputCount);

}  // namespace orrery::reference
