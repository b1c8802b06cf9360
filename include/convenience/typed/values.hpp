#pragma once

// Kept only so that code written against the typed layer's old value headers still builds:
// it forwards to convenience/values.hpp, the one value API, and adds nothing. New code
// includes convenience/values.hpp and names orrery::convenience::values.

#include "convenience/values.hpp"

namespace orrery::convenience::typed {

using values::describeValue;
using values::displayValue;
using values::isEmptyValue;
using values::makeChars;
using values::makeDouble;
using values::makeDoubles;
using values::makeEmpty;
using values::makeLogical;
using values::makeLogicals;
using values::makeObject;
using values::makeObjects;
using values::makeString;
using values::makeStrings;
using values::peekObject;
using values::peekObjects;
using values::readDouble;
using values::readDoubles;
using values::readLogical;
using values::readLogicals;
using values::readObject;
using values::readStrings;
using values::readStrings16;
using values::readText;
using values::readText16;
using values::utf8ToUtf16;

}  // namespace orrery::convenience::typed
