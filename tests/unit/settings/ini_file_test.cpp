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

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsTheDefaultThroughTheSameClamp) {
    char buffer[16] = "stale";
    EXPECT_EQ(ini.ReadString("back", "path", "dflt", buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(ini.ReadBool("back", "screen", 1), 1);
    EXPECT_EQ(ini.ReadIntClamped("e", "absent", 5000, 1, 1000), 1000);
    EXPECT_EQ(ini.ReadIntClamped("e", "absent", -5, 1, 1000), 1);

    ASSERT_TRUE(WriteFileBytes(path, "[Back]\r\nOther=1\r\n"));
    EXPECT_EQ(ini.ReadInt("back", "bright", -7), -7);
    EXPECT_EQ(ini.ReadInt("music", "count", 3), 3);
}

TEST_F(IniFileTest, ReadStringTruncatesToTheBuffer) {
    ini.WriteString("s", "k", "abcdefghij");
    char buffer[5] = "";
    EXPECT_EQ(ini.ReadString("s", "k", "", buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "abcd");
}

// The number parsing itself is the decimal-text core's; here what the file
// layer adds: negatives survive, an empty value is the default.
TEST_F(IniFileTest, HandWrittenNumbersReadAsTheirLeadingDecimal) {
    ASSERT_TRUE(WriteFileBytes(path, "[n]\r\nneg=-300\r\ntrail=12px\r\nempty=\r\nspaced=  42  \r\n"));
    EXPECT_EQ(ini.ReadInt("n", "neg", 0), -300);
    EXPECT_EQ(ini.ReadInt("n", "trail", 0), 12);
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

TEST(IniFileWithoutPath, SetPathKeepsAtMost259Characters) {
    IniFile ini;
    const std::string longPath(400, 'x');
    ini.SetPath(longPath.c_str());
    EXPECT_EQ(std::string(ini.Path()), std::string(259, 'x'));
}

}  // namespace
