#pragma once
#include <optional>
#include <string>

namespace orrery::inspector {

/// Checks an opened plugin (a dlopen handle) against the library this process runs:
/// throws LoadError when it carries no build stamp or one with another ABI tag (the
/// message names both versions); returns a warning when the plugin finds a copy of the
/// library other than the inspector's, whose registry the inspector's host never sees.
std::optional<std::string> checkCompatibility(void* handle);

}  // namespace orrery::inspector
