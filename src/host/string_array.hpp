#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <variant>

#include "host/host_export.hpp"
#include "host/kvboost.hpp"
#include "host/ref_counted_object.hpp"
#include "host/span.hpp"
#include "host/string.hpp"

// The host's array container. Its members are defined once, by the library that
// exports them, for the one instantiation the host uses: string arrays.
//
// A Windows DLL exports only what is marked, and other modules must import it: the
// container is the library's export (ORRERY_CONVENIENCE_BUILD) and everyone else's import.
#if defined(_WIN32)
#  if defined(ORRERY_CONVENIENCE_BUILD)
#    define ORRERY_STRING_ARRAY_API __declspec(dllexport)
#  else
#    define ORRERY_STRING_ARRAY_API __declspec(dllimport)
#  endif
#else
#  define ORRERY_STRING_ARRAY_API ORRERY_HOST_TEMPLATE_VISIBLE
#endif
#if defined(_WIN32)
#  define ORRERY_STRING_ARRAY_INLINE
#else
#  define ORRERY_STRING_ARRAY_INLINE inline
#endif

namespace coretypes::array {

template <class... Variants>
struct ORRERY_HOST_TEMPLATE_VISIBLE ArrayTypeList {};

// Visible on the primary template too: Clang takes a partial specialisation's visibility
// from it.
template <class TypeList>
class ORRERY_STRING_ARRAY_API ArrayBase;

// What every array shares: its extents. Each concrete array type of the list is one
// alternative of the variant that getVariant returns.
template <class... Variants>
class ORRERY_STRING_ARRAY_API ArrayBase<ArrayTypeList<Variants...>> : public RefCountedObject {
public:
    using DimensionsSpan = cppcompat::detail::span::span<const std::uint64_t>;
    using VariantPtr = std::variant<kvboost::intrusive_ptr<Variants>...>;
    using ConstVariantPtr = std::variant<kvboost::intrusive_ptr<const Variants>...>;

    ~ArrayBase() override;

    // The extents; valid until the next resize.
    DimensionsSpan getDimensionsSpan() const;
    // The host reaches these two through the virtual table, in front of the array's
    // getVariant pair: they keep its slots where the host expects them. For code that
    // holds an array only through its base: how many elements it holds, and whether the
    // one at a linear index is missing (std::out_of_range past the end).
    virtual std::uint64_t elementCount() const noexcept = 0;
    virtual bool isElementMissing(std::uint64_t index) const = 0;

protected:
    // No extents until the first resize.
    ArrayBase();

    kvboost::container::small_vector<std::uint64_t, 2> dimensions;
};

// An array of Policy::Element, one per element in linear element order. Variant is the
// concrete array type that derives from it; only that type is ever made.
template <class Variant, class Policy, class TypeList>
class ORRERY_STRING_ARRAY_API Array : public ArrayBase<TypeList> {
public:
    using Element = typename Policy::Element;
    using typename ArrayBase<TypeList>::DimensionsSpan;
    using typename ArrayBase<TypeList>::VariantPtr;
    using typename ArrayBase<TypeList>::ConstVariantPtr;

    ~Array() override;

    // The number of elements held, whatever the extents say.
    std::uint64_t getNumberOfElements() const;
    // The elements, in linear element order; valid until the next push_back or resize.
    // A friend, not a member: only the members above are the library's to export.
    friend cppcompat::detail::span::span<const Element> elementsOf(const Array& array) noexcept {
        return {array.elements.data(), array.elements.size()};
    }
    // An intrusive pointer to this array as its concrete type (one more reference).
    virtual VariantPtr getVariant();
    virtual ConstVariantPtr getVariant() const;
    // Appends one element and adds 1 to the first extent: for k-by-1 arrays. The
    // array must have extents (std::logic_error otherwise: resize it first).
    // The path with room is defined below, in the header, so callers inline it; growing,
    // and the error, take the one exported call.
    void push_back(Element element);
    // New extents: elements past the new count are released, new ones are empty
    // (missing); trailing extents of 1 beyond the second are dropped.
    void resize(DimensionsSpan extents);

protected:
    Array() = default;

    kvboost::container::small_vector<Element, Policy::inlineElements> elements;

private:
    // push_back without room: grows the elements (or refuses an array without extents).
    void pushBackGrowing(Element element);
};

// Inline, so that a loop of appends costs what std::vector's does; the library's explicit
// instantiation still exports it. Not on Windows: a DLL leaves inline members of an
// exported template out of its export table, and push_back must stay exported.
template <class Variant, class Policy, class TypeList>
ORRERY_STRING_ARRAY_INLINE void Array<Variant, Policy, TypeList>::push_back(Element element) {
    if (elements.size() < elements.capacity() && !this->dimensions.empty()) [[likely]] {
        // Nothing here can fail, so the extent may go first: the element count is then
        // the last thing written, and the next call reads it straight back.
        ++this->dimensions[0];
        elements.emplace_back(std::move(element));
        return;
    }
    // A new argument, not a reference to this one: the element's address stays local, so
    // the compiler knows it is empty after the move and drops its release.
    pushBackGrowing(Element(std::move(element)));
}

}  // namespace coretypes::array

namespace Korvane::String::detail {

// Visible from its first declaration on: the instantiations over it are exported.
class ORRERY_HOST_TEMPLATE_VISIBLE StringArrayVariant;

struct ORRERY_HOST_TEMPLATE_VISIBLE StringArrayPolicy {
    using Element = StringElementPtr;
    // Most string arrays hold one string: that one needs no storage of its own.
    static constexpr std::size_t inlineElements = 1;
};

using StringArrayTypes = coretypes::array::ArrayTypeList<StringArrayVariant>;
using StringArrayBase = coretypes::array::ArrayBase<StringArrayTypes>;
using StringArray = coretypes::array::Array<StringArrayVariant, StringArrayPolicy, StringArrayTypes>;

// A host string array.
class ORRERY_HOST_TEMPLATE_VISIBLE StringArrayVariant final : public StringArray {
public:
    StringArrayVariant() = default;

    std::uint64_t elementCount() const noexcept override { return elements.size(); }
    bool isElementMissing(std::uint64_t index) const override {
        if (index >= elements.size()) throw std::out_of_range("string array element index past the end");
        return !elements[index];
    }
};

}  // namespace Korvane::String::detail
