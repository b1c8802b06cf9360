#pragma once

// Everything a client needs to describe classes and namespaces for the host.
#include "convenience/class_info_struct.hpp"
#include "convenience/configurable_class_info.hpp"
#include "convenience/configurable_namespace_function_info.hpp"
#include "convenience/configurable_namespace_info.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/namespace_function_info_struct.hpp"
#include "convenience/namespace_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"
#include "convenience/type_lookup.hpp"
