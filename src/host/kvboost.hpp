#pragma once

// The host builds Boost into its own namespace, kvboost, so that the Boost types in its
// interface (intrusive pointers, small vectors) can never clash with a plugin's own
// Boost. Everything that includes host headers is compiled the same way: with
// boost=kvboost defined and kvboost/ leading to Boost's headers (see CMakeLists.txt).
#if !defined(boost)
#  error "host headers need Boost in the host's namespace: compile with -Dboost=kvboost"
#endif

#include <boost/container/small_vector.hpp>
#include <boost/intrusive_ptr.hpp>
