#pragma once

#include <gtest/gtest.h>

#include "convenience/diagnostics/live_records.hpp"
#include "host/reference/reference_host.hpp"

namespace orrery::testing {

// Every test starts on an empty reference host and must leave nothing alive: the
// records a test holds are dropped before TearDown, which shuts the host down and
// names whatever is left, host objects and description records alike.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override { reference::shutdown(); }
    void TearDown() override {
        reference::shutdown();
        EXPECT_EQ(reference::liveCounts(), reference::LiveCounts{})
            << "left alive after shutdown: " << reference::leakReport();
        EXPECT_EQ(convenience::diagnostics::liveRecordCount(), 0u)
            << "records left alive: " << convenience::diagnostics::describe(convenience::diagnostics::liveRecords());
    }
};

}  // namespace orrery::testing
