#pragma once

#include <optional>
#include <string>

#include "host/exception.hpp"
#include "host/host_export.hpp"

namespace orrery::reference {

// The host's message catalogue maps "component:id" to a text in which {N} stands for
// message argument N. Plugin authors add the texts of their own errors here; a message
// without a text reads "Unknown message component:id.".
ORRERY_HOST_API void addMessageText(const std::string& errorId, const std::u16string& text);
// The catalogue text, or nothing when there is none.
ORRERY_HOST_API std::optional<std::u16string> findMessageText(const std::string& errorId);

}  // namespace orrery::reference
