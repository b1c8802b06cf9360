#include <mutex>
#include <unordered_set>

#include "host/interned.hpp"

namespace orrery::internal {

const std::string* makeInterned(std::string text) {
    // Node-based, so the strings never move; never shrinks, like the host's own table.
    static std::mutex lock;
    static auto* table = new std::unordered_set<std::string>();
    std::lock_guard guard(lock);
    return &*table->insert(std::move(text)).first;
}

}  // namespace orrery::internal
