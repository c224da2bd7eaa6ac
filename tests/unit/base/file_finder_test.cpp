#include "base/file_finder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/test_files.h"

namespace {

// What a search of a folder reports, folders among it and double-byte names
// in its path, is the folder expansion's test (settings suite), through the
// one caller; here, the directory of a pattern given without one.
TEST(FileFinder, ARelativePatternGivesTheFullDirectory) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run in the Japanese code page";
    TempFolder temp;
    const std::string folder = temp / "pictures\x95\x5c";  // 表 in code page 932; its second byte is the backslash's
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder + "\\c.jpg", "x"));
    char previous[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(sizeof previous, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    FileFinder finder;
    const bool opened = finder.Open("*.jpg", 0);
    const std::string found = std::string(finder.Directory()) + finder.Name();
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(opened);
    EXPECT_EQ(found, folder + "\\c.jpg");
}

}  // namespace
