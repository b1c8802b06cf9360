#pragma once

// Interned ids (COSId): texts the host keeps once and compares by address.

#include <cstddef>
#include <functional>
#include <string>

#include "host/host_export.hpp"

namespace orrery {

namespace internal {
// Returns the same pointer for equal text; safe to call from several threads.
ORRERY_HOST_API const std::string* makeInterned(std::string text);
}  // namespace internal

// The empty id holds no text at all (a null pointer).
struct IdEmptyPolicy {
    static constexpr const std::string* empty() noexcept { return nullptr; }
};

template <class EmptyPolicy>
class COSInternedBase {
public:
    constexpr COSInternedBase() noexcept = default;
    constexpr explicit COSInternedBase(const std::string* interned) noexcept : text_(interned) {}

    const std::string* get() const noexcept { return text_; }
    bool isEmpty() const noexcept { return text_ == EmptyPolicy::empty(); }
    // The text, or "" for the empty id.
    const std::string& str() const noexcept {
        static const std::string none;
        return text_ ? *text_ : none;
    }
    const char* c_str() const noexcept { return str().c_str(); }

    friend bool operator==(const COSInternedBase&, const COSInternedBase&) = default;

private:
    const std::string* text_ = EmptyPolicy::empty();
};

using COSId = COSInternedBase<IdEmptyPolicy>;

inline COSId makeId(const std::string& text) { return COSId(internal::makeInterned(text)); }

}  // namespace orrery

template <class P>
struct std::hash<orrery::COSInternedBase<P>> {
    std::size_t operator()(const orrery::COSInternedBase<P>& id) const noexcept {
        return std::hash<const void*>{}(id.get());
    }
};
