#include "base/paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/test_files.h"

namespace {

// Code page 932: 表 and 予 both end in the byte of the backslash.
const char kOmote[] = "\x95\x5c";
const char kYo[] = "\x97\x5c";

class PathTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "the tests run in the Japanese code page"; }
};

TEST_F(PathTest, EndsWithComparesWholeCharacters) {
    EXPECT_TRUE(EndsWith("anything", ""));
    EXPECT_TRUE(EndsWith("", ""));
    EXPECT_FALSE(EndsWith("", "\\"));
    EXPECT_TRUE(EndsWith("C:\\Pictures\\", "\\"));
    EXPECT_FALSE(EndsWith("C:\\Pictures", "\\"));
    EXPECT_TRUE(EndsWith("photo.jpg", ".jpg"));
    EXPECT_FALSE(EndsWith("photo.JPG", ".jpg")) << "case matters";
    EXPECT_FALSE(EndsWith("jpg", "a.jpg")) << "a suffix longer than the text";
    EXPECT_FALSE(EndsWith(nullptr, ""));
    EXPECT_FALSE(EndsWith("text", nullptr));
}

TEST_F(PathTest, EndsWithNeverTakesATrailingByteForABackslash) {
    const std::string omote = std::string("C:\\") + kOmote;
    const std::string yo = std::string("D:\\") + kYo;
    EXPECT_FALSE(EndsWith(omote.c_str(), "\\"));
    EXPECT_FALSE(EndsWith(yo.c_str(), "\\"));
    EXPECT_TRUE(EndsWith(omote.c_str(), kOmote));
    EXPECT_TRUE(EndsWith((omote + "\\").c_str(), "\\"));
    EXPECT_TRUE(EndsWith((omote + kYo).c_str(), (std::string(kOmote) + kYo).c_str()));
    EXPECT_FALSE(EndsWith((omote + kYo).c_str(), (std::string("\\") + kYo).c_str()))
        << "the last two characters are 表予, not a backslash and 予";
}

TEST_F(PathTest, CopyWithTrailingBackslashAddsOneOnlyWhereMissing) {
    char result[PATH_BUFFER_SIZE];
    ASSERT_TRUE(CopyWithTrailingBackslash("C:\\Pictures", result));
    EXPECT_STREQ(result, "C:\\Pictures\\");
    ASSERT_TRUE(CopyWithTrailingBackslash("C:\\Pictures\\", result));
    EXPECT_STREQ(result, "C:\\Pictures\\");
    ASSERT_TRUE(CopyWithTrailingBackslash("", result));
    EXPECT_STREQ(result, "\\");

    const std::string omote = std::string("C:\\") + kOmote;
    ASSERT_TRUE(CopyWithTrailingBackslash(omote.c_str(), result));
    EXPECT_EQ(std::string(result), omote + "\\");
}

TEST_F(PathTest, CopyWithTrailingBackslashRefusesWhatWouldNotFit) {
    char result[PATH_BUFFER_SIZE];
    const std::string fits(MAX_PATH_CHARS - 1, 'a');
    ASSERT_TRUE(CopyWithTrailingBackslash(fits.c_str(), result));
    EXPECT_EQ(std::string(result), fits + "\\");

    const std::string full(MAX_PATH_CHARS, 'a');
    EXPECT_FALSE(CopyWithTrailingBackslash(full.c_str(), result));
    EXPECT_STREQ(result, "");
    ASSERT_TRUE(CopyWithTrailingBackslash((fits + "\\").c_str(), result)) << "already ends in a backslash";

    const std::string tooLong(1000, 'a');
    EXPECT_FALSE(CopyWithTrailingBackslash(tooLong.c_str(), result));
    EXPECT_STREQ(result, "");
}

TEST_F(PathTest, ResolveAgainstDirJoinsOnlyBareNames) {
    char result[PATH_BUFFER_SIZE];
    ASSERT_TRUE(ResolveAgainstDir("D:\\Apps\\", "song.mp3", result));
    EXPECT_STREQ(result, "D:\\Apps\\song.mp3");
    ASSERT_TRUE(ResolveAgainstDir("D:\\Apps\\", "E:\\Music\\song.mp3", result));
    EXPECT_STREQ(result, "E:\\Music\\song.mp3");
    ASSERT_TRUE(ResolveAgainstDir("D:\\Apps\\", "sub\\song.mp3", result));
    EXPECT_STREQ(result, "sub\\song.mp3");
    ASSERT_TRUE(ResolveAgainstDir("D:\\Apps\\", "\\\\server\\share\\a.bmp", result));
    EXPECT_STREQ(result, "\\\\server\\share\\a.bmp");

    const std::string yoName = std::string(kYo) + ".mp3";
    ASSERT_TRUE(ResolveAgainstDir("D:\\Apps\\", yoName.c_str(), result));
    EXPECT_EQ(std::string(result), "D:\\Apps\\" + yoName) << "a trailing 0x5C byte is not a separator";
    const std::string inOmote = std::string(kOmote) + "\\a.bmp";
    ASSERT_TRUE(ResolveAgainstDir("D:\\Apps\\", inOmote.c_str(), result));
    EXPECT_EQ(std::string(result), inOmote);
}

TEST_F(PathTest, ResolveAgainstDirRefusesWhatWouldNotFit) {
    char result[PATH_BUFFER_SIZE];
    const std::string dir = "D:\\" + std::string(MAX_PATH_CHARS - 10, 'd') + "\\";
    EXPECT_FALSE(ResolveAgainstDir(dir.c_str(), "a-long-song-name.mp3", result));
    EXPECT_STREQ(result, "");
    const std::string name = std::string(MAX_PATH_CHARS + 1, 'n');
    EXPECT_FALSE(ResolveAgainstDir("D:\\", name.c_str(), result));
    EXPECT_STREQ(result, "");
}

TEST_F(PathTest, IsDirectoryPathTellsFoldersFromFilesAndMissingPaths) {
    TempFolder temp;
    const std::string folder = temp / (std::string("pic") + kOmote);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string file = temp / (std::string("note") + kYo);
    ASSERT_TRUE(WriteFileBytes(file, "x"));

    EXPECT_TRUE(IsDirectoryPath(folder.c_str()));
    EXPECT_TRUE(IsDirectoryPath((folder + "\\").c_str()));
    EXPECT_TRUE(IsDirectoryPath(temp.Path().c_str()));
    EXPECT_FALSE(IsDirectoryPath(file.c_str()));
    EXPECT_FALSE(IsDirectoryPath((file + "\\").c_str()));
    EXPECT_FALSE(IsDirectoryPath((temp / "missing").c_str()));
    EXPECT_FALSE(IsDirectoryPath(""));
    EXPECT_FALSE(IsDirectoryPath(nullptr));
    EXPECT_FALSE(IsDirectoryPath((temp.Path() + std::string(1000, 'x')).c_str()));
}

TEST_F(PathTest, IsDirectoryPathTakesARelativePathFromTheCurrentDirectory) {
    TempFolder temp;
    ASSERT_TRUE(CreateDirectoryA((temp / "sub").c_str(), nullptr));
    char previous[PATH_BUFFER_SIZE];
    ASSERT_NE(GetCurrentDirectoryA(sizeof previous, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.Path().c_str()));
    const bool sub = IsDirectoryPath("sub");
    const bool subSlash = IsDirectoryPath("sub\\");
    const bool missing = IsDirectoryPath("nothing");
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(sub);
    EXPECT_TRUE(subSlash);
    EXPECT_FALSE(missing);
}

}  // namespace
