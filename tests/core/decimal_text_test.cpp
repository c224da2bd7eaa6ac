#include "base/decimal_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(DecimalText, ReadsTheLeadingSignedNumberAndSaturatesBeyondThirtyTwoBits) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"640", 640}, {"-40", -40}, {"+7", 7}, {"  -255", -255}, {"16777215", 0xFFFFFF},
        // It stops at the first other character.
        {"12abc", 12}, {"3 4", 3}, {"0x10", 0}, {"abc", 0}, {"-", 0}, {"- 5", 0}, {"", 0},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
        {"99999999999999999999999999", INT_MAX}, {"-99999999999999999999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseSignedDecimal(c.text), c.expected) << '"' << c.text << '"';
    }
}

}  // namespace
