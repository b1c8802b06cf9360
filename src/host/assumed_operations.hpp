#pragma once

// Host operations that plugins need and that the host interface the library is built on
// does not declare: making an object of a class from a plugin, finding an object's class
// and per-object data, making a string value, adding a plugin's message texts to the
// host's catalogue, and what two of a method's numbered attributes mean to the host. THESE ARE ASSUMPTIONS ABOUT THE
// HOST, not part of the host interface: the library's own records never call them; the typed definition layer and the
// value helpers (convenience/typed/) do. The reference host implements them; a real host must offer equivalents for
// code that uses those helpers.

#include <string>
#include <vector>

#include "host/array.hpp"
#include "host/cos_class.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/method_info.hpp"

namespace orrery {

// A new object of the class. The host asks the class's info for the object's data
// (allocateData) before it returns, and gives the data back (processObjectData) when the
// object dies, is deleted, or outlives the class.
ORRERY_HOST_API COSInterfacePtr omCreateObject(COSClass* cls);
// The class an object was made of; null for anything that is not an object of a class,
// and for an object whose class is gone.
ORRERY_HOST_API COSClass* omGetObjectClass(COSInterface* object) noexcept;
// The data that allocateData gave the object; null when there is none, or no longer any
// (the object was deleted, or outlived its class).
ORRERY_HOST_API void* omGetObjectData(COSInterface* object) noexcept;

// Adds (or replaces) the text of the error "component:id" in the host's message
// catalogue; {0}, {1}, ... in it stand for the message's arguments.
ORRERY_HOST_API void omAddMessageText(const char* errorId, const std::u16string& text);

// A method whose isAttribute3 is true is static: the host calls it without an object.
inline bool omIsStaticMethod(COSMethodInfo& method) { return method.isAttribute3(); }
// A method whose isAttribute4 is true is abstract: declared by its class, implemented by
// subclasses; the host dispatches a call to the implementation of the object's class.
inline bool omIsAbstractMethod(COSMethodInfo& method) { return method.isAttribute4(); }

}  // namespace orrery

namespace Korvane::String {
// A new 1-by-1 string array holding the text, owned by the caller.
ORRERY_HOST_API hxArray* createScalar(const std::u16string& text);
// A new 1-by-n string array holding the texts in order, owned by the caller.
ORRERY_HOST_API hxArray* createRow(const std::vector<std::u16string>& texts);
}  // namespace Korvane::String
