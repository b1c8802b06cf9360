#pragma once

// The plugin author's test kit: a scoped reference host with a leak report, and using
// published classes and functions with C++ values. Its GoogleTest side (fixture and
// expectations) is orrery_testkit/gtest.hpp.

#include "orrery_testkit/host_calls.hpp"  // construct, properties, calls, signatures
#include "orrery_testkit/scoped_host.hpp"  // ScopedHost, LeakReport
