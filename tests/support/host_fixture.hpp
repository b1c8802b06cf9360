#pragma once

#include "orrery_testkit/gtest.hpp"

namespace orrery::testing {

// The test kit's fixture: every test starts on an empty reference host, and TearDown fails
// the test with the names of whatever is still alive, host objects and records alike.
using HostTest = testkit::HostTest;

}  // namespace orrery::testing
