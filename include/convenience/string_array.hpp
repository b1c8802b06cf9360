#pragma once

// The host's string array container, whose members this library defines and exports:
// coretypes::array::ArrayBase and coretypes::array::Array for
// Korvane::String::detail::StringArrayVariant. Make arrays as StringArrayVariant,
// shared through kvboost::intrusive_ptr; give them extents with resize before
// push_back.
#include "host/string_array.hpp"
