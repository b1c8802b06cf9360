#pragma once

// The host builds Boost into its own namespace, kvboost, so that the Boost types in its
// interface (intrusive pointers, small vectors) can never clash with a plugin's own
// Boost. kvboost/ holds those Boost headers renamed (namespace kvboost, macros KVBOOST_*),
// made by the build and installed with these headers (cmake/kvboost.cmake).
#include <kvboost/container/small_vector.hpp>
#include <kvboost/intrusive_ptr.hpp>
