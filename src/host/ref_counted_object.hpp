#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/host_export.hpp"

namespace coretypes {

// The base of the host's reference-counted objects, shared through intrusive pointers.
// The count is plain, not atomic: one object belongs to one thread at a time.
class ORRERY_HOST_API RefCountedObject {
public:
    RefCountedObject() = default;
    RefCountedObject(const RefCountedObject&) = delete;
    RefCountedObject& operator=(const RefCountedObject&) = delete;

    // The host's name for the object's type.
    virtual const char* typeName() const noexcept;
    // Identity unless a type says otherwise.
    virtual std::size_t hashValue() const noexcept;
    virtual bool equals(const RefCountedObject& other) const noexcept;
    // Text for people, e.g. in the host's diagnostics.
    virtual std::u16string toString() const;
    // Runs when the last intrusive pointer lets go; frees the object.
    virtual void destroy() noexcept;
    virtual ~RefCountedObject();

    // Intrusive pointers to the object; starts at 0.
    mutable std::uint64_t refCount = 0;
};

inline void intrusive_ptr_add_ref(const RefCountedObject* object) noexcept { ++object->refCount; }
inline void intrusive_ptr_release(const RefCountedObject* object) noexcept {
    if (--object->refCount == 0) const_cast<RefCountedObject*>(object)->destroy();
}

}  // namespace coretypes
