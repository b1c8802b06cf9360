#pragma once
#include <string>

namespace orrery::inspector {

/// The shortest text that reads back as the same double: 0.1, 1e-07, -2.5e-09, inf, nan.
std::string numberText(double value);

}  // namespace orrery::inspector
