#include "host/reference/objects.hpp"

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/assumed_operations.hpp"
#include "host/class_info.hpp"
#include "host/reference/class_object.hpp"
#include "host/reference/detail/counters.hpp"
#include "host/reference/detail/live_objects.hpp"

namespace orrery {

COSInterface::COSInterface(bool immortal) : immortal_(immortal) {
    if (!immortal_) ++reference::detail::counters().objects;
}

COSInterface::~COSInterface() {
    if (!immortal_) --reference::detail::counters().objects;
}

namespace internal {

struct ObjectAccess {
    static void retain(COSInterface* object) noexcept {
        if (object) object->refs_.fetch_add(1, std::memory_order_relaxed);
    }
    static void release(COSInterface* object) noexcept {
        if (object && object->refs_.fetch_sub(1, std::memory_order_acq_rel) == 1 && !object->immortal_) delete object;
    }
    static reference::Object* make(reference::ClassObject* cls) { return new reference::Object(cls); }
    static void*& data(reference::Object& object) noexcept { return object.data_; }
    static bool& deleted(reference::Object& object) noexcept { return object.deleted_; }
    static bool deleted(const reference::Object& object) noexcept { return object.deleted_; }
};

void retainInterface(COSInterface* object) noexcept { ObjectAccess::retain(object); }
void releaseInterface(COSInterface* object) noexcept { ObjectAccess::release(object); }

}  // namespace internal

namespace reference {

// The instances alive right now, so that shutdown() can detach those that outlive their
// classes and leak reports can name them.
struct LiveObjects {
    std::mutex lock;
    std::unordered_set<Object*> objects;

    static LiveObjects& instance() {
        // Never destroyed: objects may be released during static destruction.
        static auto* live = new LiveObjects();
        return *live;
    }

    static void releaseData(Object& object) {
        if (object.data_ && object.cls_ && object.cls_->info())
            object.cls_->info()->processObjectData(&object, std::exchange(object.data_, nullptr));
    }

    static void detach(Object& object) {
        releaseData(object);
        object.cls_ = nullptr;
    }
};

Object::Object(ClassObject* cls) : cls_(cls), className_(cls ? cls->getClassID().str() : std::string()) {
    auto& live = LiveObjects::instance();
    std::lock_guard guard(live.lock);
    live.objects.insert(this);
}

Object::~Object() {
    {
        auto& live = LiveObjects::instance();
        std::lock_guard guard(live.lock);
        live.objects.erase(this);
    }
    LiveObjects::releaseData(*this);
}

COSInterfacePtr createObject(ClassObject* cls) {
    auto* object = internal::ObjectAccess::make(cls);
    COSInterfacePtr handle(object);
    if (cls && cls->info()) internal::ObjectAccess::data(*object) = cls->info()->allocateData(object);
    return handle;
}

namespace detail {

void detachLiveObjects() {
    std::vector<Object*> objects;
    {
        auto& live = LiveObjects::instance();
        std::lock_guard guard(live.lock);
        objects.assign(live.objects.begin(), live.objects.end());
    }
    // The classes and their infos are still alive here; the data goes back through them
    // now, since nothing can give it back once they are gone.
    for (Object* object : objects) LiveObjects::detach(*object);
}

std::vector<std::string> liveObjectClassNames() {
    auto& live = LiveObjects::instance();
    std::lock_guard guard(live.lock);
    std::vector<std::string> names;
    for (Object* object : live.objects) names.push_back(object->className());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace detail

Object* asObject(COSInterface* object) { return dynamic_cast<Object*>(object); }

void deleteObject(COSInterface* object) {
    Object* instance = asObject(object);
    if (!instance) throw std::invalid_argument("only instances of classes can be deleted");
    if (internal::ObjectAccess::deleted(*instance)) return;
    internal::ObjectAccess::deleted(*instance) = true;
    LiveObjects::releaseData(*instance);
}

bool isDeleted(const COSInterface* object) noexcept {
    const auto* instance = dynamic_cast<const Object*>(object);
    return instance && internal::ObjectAccess::deleted(*instance);
}

}  // namespace reference

COSInterfacePtr omCreateObject(COSClass* cls) {
    auto* classObject = dynamic_cast<reference::ClassObject*>(cls);
    if (!classObject) throw std::invalid_argument("omCreateObject needs a class of the reference host");
    return reference::createObject(classObject);
}

COSClass* omGetObjectClass(COSInterface* object) noexcept {
    const reference::Object* instance = reference::asObject(object);
    return instance ? instance->cls() : nullptr;
}

void* omGetObjectData(COSInterface* object) noexcept {
    const reference::Object* instance = reference::asObject(object);
    return instance ? instance->data() : nullptr;
}

}  // namespace orrery
