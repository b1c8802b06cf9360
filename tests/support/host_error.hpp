#pragma once

// EXPECT_HOST_ERROR and EXPECT_THROW_MESSAGE come from the test kit, which plugin authors use too.
#include "orrery_testkit/gtest.hpp"
