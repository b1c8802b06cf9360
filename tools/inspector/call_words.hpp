#pragma once
// The words of each --call, taken out of the command line before the option parser sees
// it: a --call takes every word up to the next one that begins with "--", so that an
// argument may be empty or begin with "-" ("-inf", "-x") without being read as an option.
#include <stdexcept>
#include <string>
#include <vector>

namespace orrery::inspector {

/// Removes each "--call NAME ARG..." (or "--call=NAME ARG...") from `words` and returns
/// them in order; std::invalid_argument for a --call without a name.
std::vector<std::vector<std::string>> takeCalls(std::vector<std::string>& words);

}  // namespace orrery::inspector
