#pragma once

#include <concepts>
#include <cstddef>
#include <limits>
#include <type_traits>

namespace cppcompat::detail::span {

inline constexpr std::size_t dynamic_extent = std::numeric_limits<std::size_t>::max();

// The host's view of contiguous elements, held as a pointer to the first element and a
// pointer one past the last. Only the dynamic extent is used.
template <class T, std::size_t Extent = dynamic_extent>
class span {
    static_assert(Extent == dynamic_extent, "the host's spans have dynamic extent");

public:
    constexpr span() noexcept = default;
    constexpr span(T* first, T* last) noexcept : first_(first), last_(last) {}
    constexpr span(T* first, std::size_t count) noexcept : first_(first), last_(first + count) {}
    // Any contiguous container with data() and size(), e.g. a std::vector; a temporary
    // one lives until the end of the call that it is an argument of.
    // Not for spans themselves, so copying a span stays a copy.
    template <class Container>
    requires(!std::is_same_v<std::remove_cvref_t<Container>, span>) && requires(Container&& c) {
        { c.data() + c.size() } -> std::convertible_to<T*>;
    }
    // NOLINTNEXTLINE(bugprone-forwarding-reference-overload): the constraint above excludes span
    constexpr span(Container&& container) noexcept : span(container.data(), container.size()) {}

    constexpr T* data() const noexcept { return first_; }
    constexpr std::size_t size() const noexcept { return static_cast<std::size_t>(last_ - first_); }
    constexpr bool empty() const noexcept { return first_ == last_; }
    constexpr T* begin() const noexcept { return first_; }
    constexpr T* end() const noexcept { return last_; }
    constexpr T& operator[](std::size_t index) const noexcept { return first_[index]; }

private:
    T* first_ = nullptr;
    T* last_ = nullptr;
};

}  // namespace cppcompat::detail::span
