#pragma once

#include <atomic>

namespace orrery::reference::detail {

// How many calls from the host into metadata (a population, a constructor, a method, a
// property) are running, on any thread. Shutdown frees every metadata object and what it
// owns; run from inside such a call it would pull the adaptor and its record out from
// under the code that is still running, so it is refused then.
inline std::atomic<int> callsInProgress{0};

class CallInProgress {
public:
    CallInProgress() noexcept { callsInProgress.fetch_add(1, std::memory_order_acq_rel); }
    ~CallInProgress() { callsInProgress.fetch_sub(1, std::memory_order_acq_rel); }
    CallInProgress(const CallInProgress&) = delete;
    CallInProgress& operator=(const CallInProgress&) = delete;
};

}  // namespace orrery::reference::detail
