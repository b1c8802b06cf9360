#include "convenience/string_array.hpp"

#include <cstddef>
#include <limits>
#include <stdexcept>
#include <typeinfo>
#include <utility>

namespace coretypes::array {
namespace {

// The product of the extents, 1 for none. A product past 64 bits saturates: no array
// can hold that many elements, and growing to it raises Boost.Container's length error.
std::uint64_t productOf(cppcompat::detail::span::span<const std::uint64_t> extents) {
    std::uint64_t product = 1;
    bool saturated = false;
    for (std::uint64_t extent : extents) {
        if (extent == 0) return 0;
        saturated = saturated || __builtin_mul_overflow(product, extent, &product);
    }
    return saturated ? std::numeric_limits<std::uint64_t>::max() : product;
}

// The string array's type identity is defined here, once: the library's casts to it
// then agree with every other module's, and the export table is the same whether or
// not a build checks those casts (which is what first emits it otherwise).
[[gnu::used]] const std::type_info& stringArrayType = typeid(Korvane::String::detail::StringArrayVariant);

}  // namespace

template <class... Variants>
ArrayBase<ArrayTypeList<Variants...>>::ArrayBase() = default;

template <class... Variants>
ArrayBase<ArrayTypeList<Variants...>>::~ArrayBase() = default;

template <class... Variants>
auto ArrayBase<ArrayTypeList<Variants...>>::getDimensionsSpan() const -> DimensionsSpan {
    return DimensionsSpan(dimensions.data(), dimensions.data() + dimensions.size());
}

template <class Variant, class Policy, class TypeList>
Array<Variant, Policy, TypeList>::~Array() = default;

template <class Variant, class Policy, class TypeList>
std::uint64_t Array<Variant, Policy, TypeList>::getNumberOfElements() const {
    return elements.size();
}

template <class Variant, class Policy, class TypeList>
auto Array<Variant, Policy, TypeList>::getVariant() -> VariantPtr {
    return VariantPtr(std::in_place_type<kvboost::intrusive_ptr<Variant>>, static_cast<Variant*>(this));
}

template <class Variant, class Policy, class TypeList>
auto Array<Variant, Policy, TypeList>::getVariant() const -> ConstVariantPtr {
    return ConstVariantPtr(std::in_place_type<kvboost::intrusive_ptr<const Variant>>,
                           static_cast<const Variant*>(this));
}

template <class Variant, class Policy, class TypeList>
void Array<Variant, Policy, TypeList>::pushBackGrowing(Element element) {
    // An array that never had extents has no first extent to count in.
    if (this->dimensions.empty()) throw std::logic_error("push_back on an array without extents: resize it first");
    elements.push_back(std::move(element));
    ++this->dimensions[0];
}

template <class Variant, class Policy, class TypeList>
void Array<Variant, Policy, TypeList>::resize(DimensionsSpan extents) {
    // Elements first: when they cannot grow, nothing has changed.
    elements.resize(productOf(extents));
    std::size_t kept = extents.size();
    while (kept > 0 && extents[kept - 1] == 1) --kept;
    // The extents may be this array's own: assigning a prefix of them to themselves
    // copies each onto itself.
    this->dimensions.assign(extents.begin(), extents.begin() + kept);
    while (this->dimensions.size() < 2) this->dimensions.push_back(1);
}

template class ArrayBase<Korvane::String::detail::StringArrayTypes>;
template class Array<Korvane::String::detail::StringArrayVariant, Korvane::String::detail::StringArrayPolicy,
                     Korvane::String::detail::StringArrayTypes>;

// The layout the host reads: the object base (virtual table pointer and count), then
// the extents and the elements, each a small vector of data pointer, size, capacity
// and inline room.
static_assert(sizeof(RefCountedObject) == 2 * sizeof(void*));
static_assert(sizeof(kvboost::container::small_vector<std::uint64_t, 2>) ==
              3 * sizeof(void*) + 2 * sizeof(std::uint64_t));
static_assert(sizeof(Korvane::String::detail::StringArrayBase) == sizeof(RefCountedObject) + 5 * sizeof(std::uint64_t));
static_assert(sizeof(Korvane::String::detail::StringArray) ==
              sizeof(Korvane::String::detail::StringArrayBase) + 3 * sizeof(void*) +
                  Korvane::String::detail::StringArrayPolicy::inlineElements *
                      sizeof(Korvane::String::StringElementPtr));
static_assert(sizeof(Korvane::String::StringElementPtr) == sizeof(void*));

}  // namespace coretypes::array
