#pragma once

#include <vector>

namespace orrery::reference::detail {

// Every host operation that takes ownership keeps what it is given or, when it cannot
// (memory ran out), frees it before the error leaves: the caller has let go already.
template <class T>
void keepOrFree(std::vector<T*>& owned, T* given) {
    try {
        owned.push_back(given);
    } catch (...) {
        delete given;
        throw;
    }
}

}  // namespace orrery::reference::detail
