#include <gtest/gtest.h>

#include "platform/x11/connection.h"

namespace {

XErrorEvent errorOf(unsigned long serial, unsigned char code) {
    XErrorEvent error{};
    error.serial = serial;
    error.error_code = code;
    return error;
}

TEST(ErrorTrap, TakesTheErrorsOfTheTrappedRequestsAndKeepsTheFirstCode) {
    ErrorTrap trap(100);
    EXPECT_EQ(trap.errorCode(), Success);
    EXPECT_TRUE(trap.claim(errorOf(100, BadValue)));
    EXPECT_TRUE(trap.claim(errorOf(102, BadWindow)));
    EXPECT_EQ(trap.errorCode(), BadValue);
}

TEST(ErrorTrap, LeavesAnEarlierRequestsErrorToTheReport) {
    ErrorTrap trap(100);
    EXPECT_FALSE(trap.claim(errorOf(99, BadDrawable)));
    EXPECT_EQ(trap.errorCode(), Success);
}

}  // namespace
