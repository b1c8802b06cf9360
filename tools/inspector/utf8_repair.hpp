#pragma once
// Text from plugins is bytes: descriptions, exception messages, names, and the words of
// the command line. Formats that must be UTF-8 (JSON, Graphviz) get it repaired.
#include <string>
#include <string_view>

namespace orrery::inspector {

/// `text` with each ill-formed UTF-8 sequence replaced by U+FFFD, one replacement per
/// maximal subpart (as Unicode recommends, and as browsers decode); false in `changed`
/// when it was well-formed already.
std::string repairUtf8(std::string_view text, bool& changed);

}  // namespace orrery::inspector
