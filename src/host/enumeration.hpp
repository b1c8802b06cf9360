#pragma once

// Enumeration: the host's reference-counted result list, kept on the host heap.

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

#include "host/host_export.hpp"

// The host heap. Enumeration bodies live there.
ORRERY_HOST_API void* utMalloc(std::size_t bytes);
ORRERY_HOST_API void utFree(void* block) noexcept;

namespace orrery {

// A host result list: one reference-counted body on the host heap, freed with utFree
// by the last copy. A default Enumeration has no body and no elements.
template <class T>
class Enumeration {
    static_assert(std::is_trivially_copyable_v<T>, "enumerations hold plain handles");

    struct Body {
        int refs;
        std::size_t count;
    };
    static constexpr std::size_t itemsOffset = (sizeof(Body) + alignof(T) - 1) / alignof(T) * alignof(T);

public:
    Enumeration() noexcept = default;
    Enumeration(std::initializer_list<T> items) : Enumeration(std::span<const T>(items.begin(), items.size())) {}
    explicit Enumeration(std::span<const T> items) {
        void* block = utMalloc(itemsOffset + items.size() * sizeof(T));
        if (!block) throw std::bad_alloc();
        body_ = new (block) Body{1, items.size()};
        if (!items.empty()) std::memcpy(data(), items.data(), items.size() * sizeof(T));
    }
    Enumeration(const Enumeration& other) noexcept : body_(other.body_) {
        if (body_) ++body_->refs;
    }
    Enumeration(Enumeration&& other) noexcept : body_(std::exchange(other.body_, nullptr)) {}
    Enumeration& operator=(Enumeration other) noexcept {
        std::swap(body_, other.body_);
        return *this;
    }
    ~Enumeration() {
        if (body_ && --body_->refs == 0) utFree(body_);
    }

    bool hasBody() const noexcept { return body_ != nullptr; }
    std::size_t size() const noexcept { return body_ ? body_->count : 0; }
    bool empty() const noexcept { return size() == 0; }
    const T* begin() const noexcept { return body_ ? data() : nullptr; }
    const T* end() const noexcept { return begin() + size(); }
    const T& operator[](std::size_t i) const noexcept { return data()[i]; }

private:
    T* data() const noexcept { return reinterpret_cast<T*>(reinterpret_cast<char*>(body_) + itemsOffset); }

    Body* body_ = nullptr;
};

}  // namespace orrery
