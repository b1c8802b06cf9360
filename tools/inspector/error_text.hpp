#pragma once
#include <string>

#include "inspection.hpp"

namespace orrery::inspector {

/// The exception being handled as a problem at `where`: a host error's message and id, a
/// standard exception's what(), or a note that something else was thrown. Call it only
/// from a catch block.
Problem currentProblem(std::string where);

/// "where: message [id]", or "where: message" when there is no id.
std::string describe(const Problem& problem);

}  // namespace orrery::inspector
