#include "settings/entry_keys.h"

#include <gtest/gtest.h>

namespace {

// Only the names a lookup of "picture%d" would find: any letter case of the
// prefix, the number as "%d" writes it. Their order and repeats are the
// settings suite's, read through a real file.
TEST(EntryKeys, ANameCarriesTheNumberThatPercentDWouldHaveWritten) {
    const struct {
        const char* name;
        int expected;
    } cases[] = {
        {"Picture0", 0}, {"picture12", 12}, {"PICTURE2147483647", 2147483647},
        {"Picture01", -1}, {"Picture-1", -1}, {"Picture 1", -1}, {"Picture1x", -1}, {"Picture", -1},
        {"Music1", -1}, {"XPicture1", -1}, {"Picture2147483648", -1}, {"Picture99999999999999999999", -1},
        // A double-byte character after the prefix is no digit.
        {"Picture\x82\x4f", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EntryKeyNumber(c.name, "picture"), c.expected) << c.name;
    }
}

}  // namespace
