#include "base/decimal_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(DecimalText, ReadsSignedNumbers) {
    EXPECT_EQ(ParseSignedDecimal("0"), 0);
    EXPECT_EQ(ParseSignedDecimal("640"), 640);
    EXPECT_EQ(ParseSignedDecimal("-40"), -40);
    EXPECT_EQ(ParseSignedDecimal("+7"), 7);
    EXPECT_EQ(ParseSignedDecimal("  -255"), -255);
    EXPECT_EQ(ParseSignedDecimal("16777215"), 0xFFFFFF);
}

TEST(DecimalText, StopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(ParseSignedDecimal("12abc"), 12);
    EXPECT_EQ(ParseSignedDecimal("3 4"), 3);
    EXPECT_EQ(ParseSignedDecimal("0x10"), 0);
    EXPECT_EQ(ParseSignedDecimal("abc"), 0);
    EXPECT_EQ(ParseSignedDecimal("-"), 0);
    EXPECT_EQ(ParseSignedDecimal("- 5"), 0);
    EXPECT_EQ(ParseSignedDecimal(""), 0);
}

TEST(DecimalText, SaturatesBeyondThirtyTwoBits) {
    EXPECT_EQ(ParseSignedDecimal("2147483647"), INT_MAX);
    EXPECT_EQ(ParseSignedDecimal("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseSignedDecimal("2147483648"), INT_MAX);
    EXPECT_EQ(ParseSignedDecimal("-2147483649"), INT_MIN);
    EXPECT_EQ(ParseSignedDecimal("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseSignedDecimal("-99999999999999999999999999"), INT_MIN);
}

}  // namespace
