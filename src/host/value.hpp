#pragma once

// COSValue: a shared handle to one host array.

#include <utility>

#include "host/array.hpp"

namespace orrery {

// A host value: a shared handle to one host array. Copies share the array; a
// default COSValue is empty.
class COSValue {
public:
    COSValue() noexcept = default;
    // Adopts the array (one owner).
    explicit COSValue(hxArray* content) noexcept : array_(content) {}
    COSValue(const COSValue& other) noexcept : array_(other.array_) {
        if (array_) array_->addShare();
    }
    COSValue(COSValue&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
    COSValue& operator=(COSValue other) noexcept {
        std::swap(array_, other.array_);
        return *this;
    }
    ~COSValue() {
        if (array_) matrix::detail::hxDestroy_deleter{}(array_);
    }

    hxArray* content() const noexcept { return array_; }
    bool isEmpty() const noexcept { return array_ == nullptr; }

private:
    hxArray* array_ = nullptr;
};

}  // namespace orrery
