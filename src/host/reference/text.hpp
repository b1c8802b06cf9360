#pragma once

#include <string>

namespace orrery::reference::detail {

// UTF-8 to the host's UTF-16 text.
std::u16string utf8ToUtf16(const std::string& text);

}  // namespace orrery::reference::detail
