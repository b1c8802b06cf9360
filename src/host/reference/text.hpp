#pragma once

#include <string>

#include "host/host_export.hpp"

namespace orrery::reference {

// UTF-8 to the host's UTF-16 text. The other direction is the host's
// fl::i18n::ustring_to_utf8, which this host implements beside it.
ORRERY_HOST_API std::u16string utf8ToUtf16(const std::string& text);

}  // namespace orrery::reference
