#pragma once

// Kept only so that code written against the typed layer's old array value header still
// builds: it forwards to convenience/values.hpp, the one value API, and adds nothing.

#include "convenience/values.hpp"

namespace orrery::convenience::typed {

using values::makeStrings;
using values::peekObjects;
using values::readStrings;
using values::readStrings16;

}  // namespace orrery::convenience::typed
