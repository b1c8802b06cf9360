#pragma once

#include <gtest/gtest.h>

#include "host/reference/reference_host.hpp"

namespace orrery::testing {

// Every test starts on an empty reference host and must leave nothing alive: the
// records a test holds are dropped before TearDown, which shuts the host down and
// names whatever is left.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override { reference::shutdown(); }
    void TearDown() override {
        reference::shutdown();
        EXPECT_EQ(reference::liveCounts(), reference::LiveCounts{}) << "left alive after shutdown";
    }
};

}  // namespace orrery::testing
