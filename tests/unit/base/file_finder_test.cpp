#include "base/file_finder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/test_files.h"

namespace {

const char kOmote[] = "\x95\x5c";  // 表 in code page 932; its second byte is the backslash's
const char kYo[] = "\x97\x5c";     // 予

// The names still to come, a folder's with a trailing slash.
std::set<std::string> Remaining(FileFinder& finder) {
    std::set<std::string> names;
    do {
        names.insert(std::string(finder.Name()) + (finder.IsDirectory() ? "/" : ""));
    } while (finder.Advance());
    return names;
}

class FileFinderTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the tests run in the Japanese code page";
        folder_ = temp_ / (std::string("pictures") + kOmote);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        folder_ += "\\";
        for (const std::string& name : {std::string("a.bmp"), std::string("B.BMP"), kYo + std::string(".bmp"),
                                        std::string("c.jpg")}) {
            ASSERT_TRUE(WriteFileBytes(folder_ + name, "x"));
        }
        ASSERT_TRUE(CreateDirectoryA((folder_ + "sub.bmp").c_str(), nullptr));
    }

    TempFolder temp_;
    std::string folder_;  // ends in 表 and a backslash
};

TEST_F(FileFinderTest, ReportsTheDirectoryAndEveryMatchingItemThenCloses) {
    FileFinder finder;
    ASSERT_TRUE(finder.Open((folder_ + "*.bmp").c_str(), 0));
    EXPECT_TRUE(finder.IsOpen());
    EXPECT_EQ(std::string(finder.Directory()), folder_);
    EXPECT_EQ(Remaining(finder), (std::set<std::string>{"a.bmp", "B.BMP", kYo + std::string(".bmp"), "sub.bmp/"}))
        << "the extension matches in any case; folders are reported too";

    EXPECT_FALSE(finder.IsOpen());
    EXPECT_FALSE(finder.Advance()) << "a finished search stays finished";
}

TEST_F(FileFinderTest, ARelativePatternGivesTheFullDirectory) {
    char previous[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(sizeof previous, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
    FileFinder finder;
    const bool opened = finder.Open("*.jpg", 0);
    const std::string found = std::string(finder.Directory()) + finder.Name();
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(opened);
    EXPECT_EQ(found, folder_ + "c.jpg");
}

}  // namespace
