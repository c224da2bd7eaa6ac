#include "base/wide_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Code page 932: 表 is 0x95 0x5C, its trailing byte that of the backslash.
// The conversion would take a look-alike e for é silently.
TEST(WidePath, OnlyNamesTheCodePageHoldsPassItAndOnlyWhatFitsIsJoined) {
    char ansi[PATH_BUFFER_SIZE];
    EXPECT_TRUE(WidePathToAnsi(L"C:\\\u8868\\a.jpg", ansi));
    EXPECT_STREQ(ansi, "C:\\\x95\x5c\\a.jpg");
    EXPECT_FALSE(WidePathToAnsi(L"caf\u00E9.jpg", ansi));
    EXPECT_STREQ(ansi, "");

    wchar_t wide[PATH_BUFFER_SIZE];
    EXPECT_FALSE(ResolveWideAgainstDir("D:\\Apps\\", std::wstring(MAX_PATH_CHARS, L'n').c_str(), wide));
    EXPECT_STREQ(wide, L"");
}

}  // namespace
