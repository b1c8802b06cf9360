#pragma once

#include <gtest/gtest.h>

#include "host/reference/reference_host.hpp"

namespace orrery::testing {

// Every test starts on an empty reference host and must leave nothing alive: the
// records a test holds are dropped before TearDown, which shuts the host down and
// checks the live counts.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override { reference::shutdown(); }
    void TearDown() override {
        reference::shutdown();
        auto live = reference::liveCounts();
        EXPECT_EQ(live.classInfos, 0);
        EXPECT_EQ(live.methodInfos, 0);
        EXPECT_EQ(live.namespaceInfos, 0);
        EXPECT_EQ(live.propInfos, 0);
        EXPECT_EQ(live.classes, 0);
        EXPECT_EQ(live.signatures, 0);
        EXPECT_EQ(live.objects, 0);
        EXPECT_EQ(live.arrays, 0);
        EXPECT_EQ(live.heapBlocks, 0);
        EXPECT_EQ(live.defaultValues, 0);
    }
};

}  // namespace orrery::testing
