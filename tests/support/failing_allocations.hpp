#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace orrery::testing {

// Makes the k-th allocation from now on fail with std::bad_alloc, counting every
// allocation through the global operator new (the library's, the reference host's and
// the standard library's alike). One executable defines the replacement operators with
// ORRERY_FAILING_ALLOCATIONS_DEFINE_OPERATORS().
class FailingAllocations {
public:
    // Arms the failure: allocation number `k` (0 is the next one) throws; later ones succeed.
    static void failAt(long k) noexcept {
        state().countdown.store(k);
        state().armed.store(true);
    }
    static void disarm() noexcept { state().armed.store(false); }
    // Whether the armed failure has happened.
    static bool failed() noexcept { return state().failed.load(); }
    static void reset() noexcept {
        disarm();
        state().failed.store(false);
    }

    // Called by the replacement operators: true when this allocation must fail.
    static bool shouldFail() noexcept {
        auto& s = state();
        if (!s.armed.load(std::memory_order_relaxed)) return false;
        if (s.countdown.fetch_sub(1) != 0) return false;
        s.armed.store(false);
        s.failed.store(true);
        return true;
    }

private:
    struct State {
        std::atomic<bool> armed{false};
        std::atomic<bool> failed{false};
        std::atomic<long> countdown{0};
    };
    static State& state() noexcept {
        static State s;
        return s;
    }
};

// Disarms on scope exit, so a failing assertion cannot leave the allocator armed.
struct ArmedFailure {
    explicit ArmedFailure(long k) noexcept {
        FailingAllocations::reset();
        FailingAllocations::failAt(k);
    }
    ~ArmedFailure() { FailingAllocations::disarm(); }
    ArmedFailure(const ArmedFailure&) = delete;
    ArmedFailure& operator=(const ArmedFailure&) = delete;
};

}  // namespace orrery::testing

namespace orrery::testing::detail {
// Out of line, so that the compiler does not pair the malloc/free inside with new/delete.
[[gnu::noinline]] inline void* allocateBlock(std::size_t bytes) noexcept { return std::malloc(bytes ? bytes : 1); }
[[gnu::noinline]] inline void releaseBlock(void* block) noexcept { std::free(block); }
}  // namespace orrery::testing::detail

// The replacement allocation functions; expand in exactly one file of a test executable.
#define ORRERY_FAILING_ALLOCATIONS_DEFINE_OPERATORS()                                                                 \
  void* operator new(std::size_t bytes) {                                                                             \
    if (orrery::testing::FailingAllocations::shouldFail()) throw std::bad_alloc();                                    \
    if (void* block = orrery::testing::detail::allocateBlock(bytes)) return block;                                    \
    throw std::bad_alloc();                                                                                           \
  }                                                                                                                   \
  void* operator new[](std::size_t bytes) { return operator new(bytes); }                                             \
  void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {                                             \
    if (orrery::testing::FailingAllocations::shouldFail()) return nullptr;                                            \
    return orrery::testing::detail::allocateBlock(bytes);                                                             \
  }                                                                                                                   \
  void* operator new[](std::size_t bytes, const std::nothrow_t& tag) noexcept { return operator new(bytes, tag); }    \
  void operator delete(void* block) noexcept { orrery::testing::detail::releaseBlock(block); }                        \
  void operator delete[](void* block) noexcept { orrery::testing::detail::releaseBlock(block); }                      \
  void operator delete(void* block, std::size_t) noexcept { orrery::testing::detail::releaseBlock(block); }           \
  void operator delete[](void* block, std::size_t) noexcept { orrery::testing::detail::releaseBlock(block); }         \
  void operator delete(void* block, const std::nothrow_t&) noexcept { orrery::testing::detail::releaseBlock(block); } \
  void operator delete[](void* block, const std::nothrow_t&) noexcept { orrery::testing::detail::releaseBlock(block); }
