#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "host/array.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

namespace orrery::reference {

// An object array of any shape holding the objects in linear element order; their
// number must be the product of the extents (std::invalid_argument otherwise).
ORRERY_HOST_API COSValue makeObjectArray(const std::vector<std::uint64_t>& extents,
                                         const std::vector<COSInterfacePtr>& objects);

// Records every array::getElement call, in order, while it lives: for tests that must
// see which elements were fetched and when. One recorder at a time (std::logic_error
// for a second). Calls on any thread are recorded; they must end before it does.
class ORRERY_HOST_API ElementFetchRecorder {
public:
    struct Fetch {
        const hxArray* array;
        std::size_t index;
        friend bool operator==(const Fetch&, const Fetch&) = default;
    };

    ElementFetchRecorder();
    ElementFetchRecorder(const ElementFetchRecorder&) = delete;
    ElementFetchRecorder& operator=(const ElementFetchRecorder&) = delete;
    ~ElementFetchRecorder();

    std::vector<Fetch> fetches() const;
    void record(const hxArray* array, std::size_t index);

private:
    mutable std::mutex lock_;
    std::vector<Fetch> fetches_;
};

}  // namespace orrery::reference
