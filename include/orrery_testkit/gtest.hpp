#pragma once

// The test kit's GoogleTest side: a fixture that runs every test on an empty reference
// host and fails it with the names of whatever it leaked, and expectations for host
// errors and contract diagnostics. Link GoogleTest yourself (GTest::gtest_main).

#include <gtest/gtest.h>

#include <exception>
#include <string>

#include "convenience/diagnostics/contract.hpp"
#include "host/exception.hpp"
#include "orrery_testkit/scoped_host.hpp"

namespace orrery::testkit {

/// Every test starts on an empty reference host and must leave nothing alive: the
/// handles and records a test holds are dropped before TearDown, which shuts the host
/// down and names whatever is left, host objects and description records alike.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override { reference::shutdown(); }
    void TearDown() override {
        const LeakReport report = shutdownAndReport();
        EXPECT_TRUE(report.clean()) << "left alive after shutdown: " << report.text();
    }
};

}  // namespace orrery::testkit

/// Expects `statement` to raise a host message-ID error with the given error id
/// ("component:id") and message text. Other exceptions, or none, fail the test.
#define EXPECT_HOST_ERROR(statement, expectedId, expectedMessage)                                       \
  do {                                                                                                  \
    try {                                                                                               \
      statement;                                                                                        \
      ADD_FAILURE() << "expected host error " << (expectedId) << " from: " #statement;                  \
    } catch (const ::foundation::core::except::IMsgIDException& hostError) {                            \
      EXPECT_EQ(std::string(hostError.get_error_id()), std::string(expectedId)) << "from: " #statement; \
      EXPECT_EQ(std::string(hostError.what()), std::string(expectedMessage)) << "from: " #statement;    \
    } catch (const std::exception& otherError) {                                                        \
      ADD_FAILURE() << "expected host error " << (expectedId) << ", got: " << otherError.what();        \
    }                                                                                                   \
  } while (false)

/// Expects `statement` to throw `type` (a standard exception) whose what() is `expectedMessage`.
#define EXPECT_THROW_MESSAGE(statement, type, expectedMessage)                                           \
  do {                                                                                                   \
    try {                                                                                                \
      statement;                                                                                         \
      ADD_FAILURE() << "expected " #type " from: " #statement;                                           \
    } catch (const type& expectedError) {                                                                \
      EXPECT_EQ(std::string(expectedError.what()), std::string(expectedMessage)) << "from: " #statement; \
    }                                                                                                    \
  } while (false)

/// Expects diagnose(record) to find nothing; a failure lists the findings.
#define EXPECT_NO_DIAGNOSTICS(record)                                                                    \
  do {                                                                                                   \
    const auto orreryFindings = ::orrery::convenience::diagnostics::diagnose(record);                    \
    EXPECT_TRUE(orreryFindings.empty()) << ::orrery::convenience::diagnostics::describe(orreryFindings); \
  } while (false)
