#pragma once

// COSInterfacePtr, the shared handle to host objects, and the host types passed by pointer.

#include <utility>

#include "host/host_export.hpp"

namespace orrery {

// A host object. Its layout is the host's; the library only passes pointers on.
class COSInterface;
class COSClient;
class COSLoadInfo;
class COSMethodSelector;

namespace internal {
ORRERY_HOST_API void retainInterface(COSInterface* object) noexcept;
ORRERY_HOST_API void releaseInterface(COSInterface* object) noexcept;
}  // namespace internal

// Shared handle to a host object; copying shares it, the last handle releases it.
class COSInterfacePtr {
public:
    COSInterfacePtr() noexcept = default;
    // Takes one more share of the object (null is allowed).
    explicit COSInterfacePtr(COSInterface* object) noexcept : p_(object) { internal::retainInterface(p_); }
    COSInterfacePtr(const COSInterfacePtr& other) noexcept : COSInterfacePtr(other.p_) {}
    COSInterfacePtr(COSInterfacePtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    COSInterfacePtr& operator=(COSInterfacePtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~COSInterfacePtr() { internal::releaseInterface(p_); }

    operator COSInterface*() const noexcept { return p_; }
    COSInterface* get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept { COSInterfacePtr().swap(*this); }
    void swap(COSInterfacePtr& other) noexcept { std::swap(p_, other.p_); }

private:
    COSInterface* p_ = nullptr;
};

}  // namespace orrery
