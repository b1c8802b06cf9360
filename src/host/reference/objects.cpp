#include "host/reference/objects.hpp"

#include <stdexcept>
#include <utility>

#include "host/class_info.hpp"
#include "host/reference/class_object.hpp"
#include "host/reference/detail/counters.hpp"

namespace orrery {

COSInterface::COSInterface(bool immortal) : immortal_(immortal) {
    if (!immortal_) ++reference::detail::counters().objects;
}

COSInterface::~COSInterface() {
    if (!immortal_) --reference::detail::counters().objects;
}

namespace internal {
void retainInterface(COSInterface* object) noexcept {
    if (object) object->refs_.fetch_add(1, std::memory_order_relaxed);
}
void releaseInterface(COSInterface* object) noexcept {
    if (object && object->refs_.fetch_sub(1, std::memory_order_acq_rel) == 1 && !object->immortal_) delete object;
}
}  // namespace internal

namespace reference {

Object::Object(ClassObject* cls) : cls_(cls) {}

Object::~Object() {
    if (data_ && cls_ && cls_->info()) cls_->info()->processObjectData(this, data_);
}

COSInterfacePtr createObject(ClassObject* cls) {
    auto* object = new Object(cls);
    COSInterfacePtr handle(object);
    if (cls && cls->info()) object->data_ = cls->info()->allocateData(object);
    return handle;
}

Object* asObject(COSInterface* object) { return dynamic_cast<Object*>(object); }

void deleteObject(COSInterface* object) {
    Object* instance = asObject(object);
    if (!instance) throw std::invalid_argument("only instances of classes can be deleted");
    if (instance->deleted_) return;
    instance->deleted_ = true;
    if (instance->data_ && instance->cls_ && instance->cls_->info())
        instance->cls_->info()->processObjectData(instance, std::exchange(instance->data_, nullptr));
}

bool isDeleted(const COSInterface* object) noexcept {
    const auto* instance = dynamic_cast<const Object*>(object);
    return instance && instance->deleted_;
}

}  // namespace reference
}  // namespace orrery
