#pragma once

#include <atomic>
#include <thread>

namespace orrery::convenience::detail {

// A lock for critical sections of a few pointer writes, taken for every record made and
// destroyed: one atomic exchange to take and one store to give back, where a mutex costs a
// library call each way. A waiter spins on a plain read (the line stays shared) and yields
// soon, so that a holder the scheduler took off its core gets to run.
class SpinLock {
public:
    void lock() noexcept {
        while (locked_.exchange(true, std::memory_order_acquire)) {
            for (int spins = 0; locked_.load(std::memory_order_relaxed); ++spins)
                if (spins >= spinsBeforeYield) std::this_thread::yield();
        }
    }
    bool try_lock() noexcept { return !locked_.exchange(true, std::memory_order_acquire); }
    void unlock() noexcept { locked_.store(false, std::memory_order_release); }

private:
    static constexpr int spinsBeforeYield = 64;
    std::atomic<bool> locked_{false};
};

}  // namespace orrery::convenience::detail
