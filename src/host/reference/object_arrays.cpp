#include "host/reference/object_arrays.hpp"

#include <atomic>
#include <stdexcept>

#include "host/reference/arrays.hpp"
#include "host/reference/detail/element_fetches.hpp"

namespace orrery::reference {
namespace {

std::atomic<ElementFetchRecorder*>& activeRecorder() {
    static std::atomic<ElementFetchRecorder*> active{nullptr};
    return active;
}

}  // namespace

COSValue makeObjectArray(const std::vector<std::uint64_t>& extents, const std::vector<COSInterfacePtr>& objects) {
    if (elementCount(extents) != objects.size())
        throw std::invalid_argument("an object array needs one object per element");
    COSValue out(createArray(extents, hxOBJECT_CLASS));
    auto* items = static_cast<COSInterfacePtr*>(out.content()->data());
    for (std::size_t i = 0; i < objects.size(); ++i) items[i] = objects[i];
    return out;
}

ElementFetchRecorder::ElementFetchRecorder() {
    ElementFetchRecorder* none = nullptr;
    if (!activeRecorder().compare_exchange_strong(none, this))
        throw std::logic_error("another ElementFetchRecorder is recording already");
}

ElementFetchRecorder::~ElementFetchRecorder() { activeRecorder().store(nullptr); }

std::vector<ElementFetchRecorder::Fetch> ElementFetchRecorder::fetches() const {
    std::lock_guard guard(lock_);
    return fetches_;
}

void ElementFetchRecorder::record(const hxArray* array, std::size_t index) {
    std::lock_guard guard(lock_);
    fetches_.push_back({array, index});
}

void detail::recordElementFetch(const hxArray* array, std::size_t index) {
    // Nothing but one load while no recorder is active: getElement runs per element.
    if (ElementFetchRecorder* recorder = activeRecorder().load(std::memory_order_acquire))
        recorder->record(array, index);
}

}  // namespace orrery::reference
