#pragma once

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "host/cos_class.hpp"
#include "host/data_type.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

namespace orrery {

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
    friend void internal::retainInterface(COSInterface*) noexcept;
    friend void internal::releaseInterface(COSInterface*) noexcept;
    std::atomic<long> refs_{0};
    bool immortal_;
};

}  // namespace orrery

namespace orrery::reference {

ORRERY_HOST_API COSInterfacePtr createObject(COSClass* cls);

// An instance of a class.
class ORRERY_HOST_API RefObject final : public COSInterface {
public:
    explicit RefObject(COSClass* cls);
    ~RefObject() override;

    COSClass* cls() const { return cls_; }
    void* data() const { return data_; }
    // The host's own per-object store, used by its own copyData.
    std::map<std::string, COSValue>& values() { return values_; }

private:
    friend COSInterfacePtr createObject(COSClass* cls);
    COSClass* cls_;
    void* data_ = nullptr;  // from the class info's allocateData
    std::map<std::string, COSValue> values_;
};

// --- values -------------------------------------------------------------------------
ORRERY_HOST_API COSValue makeDouble(double value);
ORRERY_HOST_API COSValue makeLogical(bool value);
// A 1-by-n char array of UTF-16 code units.
ORRERY_HOST_API COSValue makeChars(const std::string& utf8);
// A 1-by-n object array.
ORRERY_HOST_API COSValue makeObjects(const std::vector<COSInterfacePtr>& objects);
// Throws std::invalid_argument when the value is not of that kind.
ORRERY_HOST_API double toDouble(const COSValue& value);
ORRERY_HOST_API std::string toText(const COSValue& value);
ORRERY_HOST_API COSInterfacePtr toObject(const COSValue& value);
// Short text for people: 3.5, true, 'abc', <pkg.Point>, [] .
ORRERY_HOST_API std::string describe(const COSValue& value);

// --- objects and classes as the host's users see them ---------------------------------
// A new instance; the class info's allocateData gives it its data.
ORRERY_HOST_API COSInterfacePtr createObject(COSClass* cls);
ORRERY_HOST_API RefObject* asObject(COSInterface* object);
// Runs the class's constructor with the inputs and returns its one output.
ORRERY_HOST_API COSValue construct(const COSId& classId, const std::vector<COSValue>& inputs);
ORRERY_HOST_API COSValue getProperty(const COSInterfacePtr& object, const std::string& name);
ORRERY_HOST_API void setProperty(const COSInterfacePtr& object, const std::string& name, COSValue value);
// Calls a method with the object as the first input.
ORRERY_HOST_API std::vector<COSValue> invokeMethod(const COSInterfacePtr& object, const std::string& name,
                                                   const std::vector<COSValue>& inputs, int outputCount);

}  // namespace orrery::reference

namespace orrery::reference {

// Makes and frees host arrays; the only code that touches their fields.
struct ORRERY_HOST_API ArrayFactory {
    // With deferDimensions the array reports opaque extents until completed.
    static hxArray* create(const std::vector<std::uint64_t>& extents, hxClassID classID, hxComplexity complexity,
                           bool deferDimensions = false);
    static void destroy(hxArray* array) noexcept;
    static void reshape(hxArray* array, const std::vector<std::uint64_t>& extents);
    static void complete(hxArray* array);
    static void dropShare(hxArray* array) noexcept;
};

}  // namespace orrery::reference
