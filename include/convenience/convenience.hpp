#pragma once

// Everything a client needs to describe classes for the host, and the value and array
// utilities.
#include "convenience/array_comparison.hpp"
#include "convenience/class_info_struct.hpp"
#include "convenience/configurable_class_info.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"
#include "convenience/string_array.hpp"
#include "convenience/string_conversion.hpp"
#include "convenience/type_lookup.hpp"
