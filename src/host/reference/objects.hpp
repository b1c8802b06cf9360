#pragma once

#include <atomic>
#include <map>
#include <string>

#include "host/cos_class.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

namespace orrery {

namespace internal {
// The one way into the private parts of COSInterface and Object for the functions below
// that need them. A class, not those functions as friends: MinGW's GCC drops dllimport
// from a function that a class redeclares as its friend.
struct ObjectAccess;
}  // namespace internal

// The reference host's objects: instances of classes and data types. Shared through
// COSInterfacePtr; the last handle frees the object.
class ORRERY_HOST_API COSInterface {
public:
    // Immortal objects (the built-in data types) live as long as the process and are
    // not counted as live.
    explicit COSInterface(bool immortal = false);
    COSInterface(const COSInterface&) = delete;
    COSInterface& operator=(const COSInterface&) = delete;
    virtual ~COSInterface();

private:
    friend struct internal::ObjectAccess;
    std::atomic<long> refs_{0};
    bool immortal_;
};

}  // namespace orrery

namespace orrery::reference {

class ClassObject;

// A new instance of the class, with its per-object data.
ORRERY_HOST_API COSInterfacePtr createObject(ClassObject* cls);

// Deletes an instance the way the host's delete does: its per-object data goes back
// through processObjectData now, and the object is marked deleted. Handles to it stay
// valid and keep its identity until the last one goes. Deleting twice does nothing;
// std::invalid_argument for anything but an instance.
ORRERY_HOST_API void deleteObject(COSInterface* object);
// Whether the object is an instance that has been deleted.
ORRERY_HOST_API bool isDeleted(const COSInterface* object) noexcept;

// An instance of a class. Its per-object data comes from the class info's
// allocateData when it is made and goes back through processObjectData when it dies,
// or at shutdown() when the object outlives its class: it is then detached (no class,
// no data) and stays safe to release.
class ORRERY_HOST_API Object final : public COSInterface {
public:
    ~Object() override;

    // Null once the object has been detached at shutdown.
    ClassObject* cls() const { return cls_; }
    void* data() const { return data_; }
    // The class the object was made of; kept after it is detached, for leak reports.
    const std::string& className() const { return className_; }
    // The host's own per-object store, used by its own copyData.
    std::map<std::string, COSValue>& values() { return values_; }

private:
    friend struct internal::ObjectAccess;
    explicit Object(ClassObject* cls);

    friend struct LiveObjects;
    ClassObject* cls_;
    std::string className_;
    void* data_ = nullptr;
    bool deleted_ = false;
    std::map<std::string, COSValue> values_;
};

// The instance behind a host object, or null when it is not one.
ORRERY_HOST_API Object* asObject(COSInterface* object);

}  // namespace orrery::reference
