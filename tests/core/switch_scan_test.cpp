#include "shell/switch_scan.h"

#include <gtest/gtest.h>

namespace {

TEST(HandleValue, ReadsLeadingDigitsOnlyAndWrapsInThirtyTwoBitsInsteadOfOverflowing) {
    EXPECT_EQ(ParseHandleValue("1234"), 1234u);
    EXPECT_EQ(ParseHandleValue("0012x5"), 12u);
    EXPECT_EQ(ParseHandleValue(""), 0u);
    EXPECT_EQ(ParseHandleValue(":1234"), 0u);
    EXPECT_EQ(ParseHandleValue("-5"), 0u);
    EXPECT_EQ(ParseHandleValue("4294967295"), 4294967295u);
    EXPECT_EQ(ParseHandleValue("4294967297"), 1u);
    EXPECT_EQ(ParseHandleValue("99999999999999999999999999"), 3825205247u);
}

}  // namespace
