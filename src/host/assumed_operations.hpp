#pragma once

// Host operations that plugins need and that the host interface the library is built on
// does not declare: making an object of a class from a plugin, finding an object's class
// and per-object data, and making a string value. THESE ARE ASSUMPTIONS ABOUT THE HOST,
// not part of the host interface: the library's own records never call them; the typed
// definition layer and the value helpers (convenience/typed/) do. The reference host
// implements them; a real host must offer equivalents for code that uses those helpers.

#include <string>

#include "host/array.hpp"
#include "host/cos_class.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"

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

}  // namespace orrery

namespace Korvane::String {
// A new 1-by-1 string array holding the text, owned by the caller.
ORRERY_HOST_API hxArray* createScalar(const std::u16string& text);
}  // namespace Korvane::String
