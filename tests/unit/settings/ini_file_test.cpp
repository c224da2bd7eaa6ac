#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace {

class IniFileTest : public testing::Test {
protected:
    void SetUp() override { ini.SetPath(path.c_str()); }

    TempFolder folder;
    std::string path = folder / "test.ini";
    IniFile ini;
};

// The number parsing itself is the decimal-text core's; here what the file
// layer adds: negatives survive, an empty value is the default.
TEST_F(IniFileTest, HandWrittenNumbersReadAsTheirLeadingDecimal) {
    ASSERT_TRUE(WriteFileBytes(path, "[n]\r\nneg=-300\r\nempty=\r\nspaced=  42px  \r\n"));
    EXPECT_EQ(ini.ReadInt("n", "neg", 0), -300);
    EXPECT_EQ(ini.ReadInt("n", "empty", 5), 5);
    EXPECT_EQ(ini.ReadInt("n", "spaced", 0), 42);
}

TEST(IniFileWithoutPath, ReadsDefaultsAndWritesNothing) {
    IniFile ini;
    ini.SetPath("");
    ini.WriteInt("Back", "Bright", 5);
    EXPECT_EQ(ini.ReadInt("back", "bright", 9), 9);
    char buffer[8];
    EXPECT_EQ(ini.ReadString("back", "path", "d", buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "d");
}

}  // namespace
