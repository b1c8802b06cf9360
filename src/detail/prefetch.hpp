#pragma once

namespace orrery::convenience::detail {

// Asks for the cache line that holds a record's shares before they are taken. A record
// made by std::make_shared (every factory's) keeps its shares just in front of it; for
// any other record this is a harmless wasted hint, never a read.
inline void prefetchShares(const void* record) noexcept {
#if defined(__GNUC__)
    if (record) __builtin_prefetch(static_cast<const char*>(record) - sizeof(long), 1);
#else
    (void)record;
#endif
}

}  // namespace orrery::convenience::detail
