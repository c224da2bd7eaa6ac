#include "base/paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/test_files.h"

namespace {

// Code page 932: 表 and 予 both end in the byte of the backslash.
const std::string kOmote = "\x95\x5c", kYo = "\x97\x5c";

class PathTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "the tests run in the Japanese code page"; }

    char result[PATH_BUFFER_SIZE];
};

TEST_F(PathTest, CopyWithTrailingBackslashAddsOneOnlyWhereMissingAndRefusesWhatWouldNotFit) {
    const std::string fits(MAX_PATH_CHARS - 1, 'a');
    const struct {
        std::string path, expected;
    } cases[] = {
        {"C:\\Pictures", "C:\\Pictures\\"},
        {"C:\\Pictures\\", "C:\\Pictures\\"},
        {"", "\\"},
        {"C:\\" + kOmote, "C:\\" + kOmote + "\\"},  // the trailing byte of 表 is not a backslash
        {"C:\\" + kOmote + "\\", "C:\\" + kOmote + "\\"},
        {fits, fits + "\\"},
        {fits + "\\", fits + "\\"},
        {fits + "a", ""},  // the result is empty when it would not fit
        {std::string(1000, 'a'), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CopyWithTrailingBackslash(c.path.c_str(), result), !c.expected.empty()) << c.path;
        EXPECT_EQ(std::string(result), c.expected) << c.path;
    }
}

TEST_F(PathTest, ResolveAgainstDirJoinsOnlyBareNames) {
    const struct {
        std::string path, expected;
    } cases[] = {
        {"sub\\song.mp3", "sub\\song.mp3"},
        {kYo + ".mp3", "D:\\Apps\\" + kYo + ".mp3"},  // a trailing 0x5C byte is not a separator
        {kOmote + "\\a.bmp", kOmote + "\\a.bmp"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ResolveAgainstDir("D:\\Apps\\", c.path.c_str(), result)) << c.path;
        EXPECT_EQ(std::string(result), c.expected);
    }

    const std::string dir = "D:\\" + std::string(MAX_PATH_CHARS - 10, 'd') + "\\";
    EXPECT_FALSE(ResolveAgainstDir(dir.c_str(), "a-long-song-name.mp3", result));
    EXPECT_STREQ(result, "");
    EXPECT_FALSE(ResolveAgainstDir("D:\\", std::string(MAX_PATH_CHARS + 1, 'n').c_str(), result));
    EXPECT_STREQ(result, "");
}

TEST_F(PathTest, IsDirectoryPathTellsFoldersFromFilesAndMissingPaths) {
    TempFolder temp;
    const std::string folder = temp / ("pic" + kOmote);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string file = temp / ("note" + kYo);
    ASSERT_TRUE(WriteFileBytes(file, "x"));

    EXPECT_TRUE(IsDirectoryPath(folder.c_str()));
    EXPECT_TRUE(IsDirectoryPath((folder + "\\").c_str()));
    EXPECT_FALSE(IsDirectoryPath(file.c_str()));
    EXPECT_FALSE(IsDirectoryPath((file + "\\").c_str()));
    EXPECT_FALSE(IsDirectoryPath((temp / "missing").c_str()));
    EXPECT_FALSE(IsDirectoryPath(""));
    EXPECT_FALSE(IsDirectoryPath(nullptr));
    EXPECT_FALSE(IsDirectoryPath((temp.Path() + std::string(1000, 'x')).c_str()));
}

}  // namespace
