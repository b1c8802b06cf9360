#include "host/ref_counted_object.hpp"

#include <functional>

#include "host/reference/text.hpp"

namespace coretypes {

const char* RefCountedObject::typeName() const noexcept { return "coretypes.RefCountedObject"; }

std::size_t RefCountedObject::hashValue() const noexcept { return std::hash<const void*>{}(this); }

bool RefCountedObject::equals(const RefCountedObject& other) const noexcept { return this == &other; }

std::u16string RefCountedObject::toString() const { return orrery::reference::utf8ToUtf16(typeName()); }

void RefCountedObject::destroy() noexcept { delete this; }

RefCountedObject::~RefCountedObject() = default;

}  // namespace coretypes
