#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <string>

#include "host/exception.hpp"

// Expects `statement` to raise a host message-ID error with the given error id
// ("component:id") and message text. Other exceptions, or none, fail the test.
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

// Expects `statement` to throw `type` (a standard exception) whose what() is `expectedMessage`.
#define EXPECT_THROW_MESSAGE(statement, type, expectedMessage)                                           \
  do {                                                                                                   \
    try {                                                                                                \
      statement;                                                                                         \
      ADD_FAILURE() << "expected " #type " from: " #statement;                                           \
    } catch (const type& expectedError) {                                                                \
      EXPECT_EQ(std::string(expectedError.what()), std::string(expectedMessage)) << "from: " #statement; \
    }                                                                                                    \
  } while (false)
