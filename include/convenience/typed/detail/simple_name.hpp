#pragma once

// Member, function, inner class and inner namespace names are single path components: the
// host splits every id at its dots, so "util.more" as one name could never be resolved.

#include <stdexcept>
#include <string>

namespace orrery::convenience::typed::detail {

/// Throws std::invalid_argument naming the operation and where the name was to go, when
/// `name` is empty or holds a '.'.
inline void requireSimpleName(const std::string& name, const char* operation, const std::string& owner) {
    if (!name.empty() && name.find('.') == std::string::npos) return;
    throw std::invalid_argument(std::string(operation) + ": \"" + name + "\" in " + owner + " is not a single name" +
                                (name.empty() ? std::string(": it is empty")
                                              : std::string(": it holds a '.', which the host reads as a path")));
}

}  // namespace orrery::convenience::typed::detail
