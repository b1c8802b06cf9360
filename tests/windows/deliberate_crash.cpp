// A test that crashes: crash_is_a_failure runs it and expects the run to fail.
#include <gtest/gtest.h>

TEST(DeliberateCrash, WritesThroughANullPointer) {
    // Both volatile: the address is read at run time (no compile-time trap instead of the
    // write) and the write cannot be dropped.
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}
