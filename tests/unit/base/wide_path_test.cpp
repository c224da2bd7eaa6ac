#include "base/wide_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Code page 932: 表 is 0x95 0x5C, its trailing byte that of the backslash.
TEST(WidePath, NamesPassTheCodePageOnlyWhenTheyComeBackUnchanged) {
    const struct {
        const wchar_t* name;
        const char* expected;  // null: refused
    } cases[] = {
        {L"C:\\\u8868\\a.jpg", "C:\\\x95\x5c\\a.jpg"},
        {L"caf\u00E9.jpg", nullptr},  // no é, but a look-alike e the conversion would take silently
    };
    for (const auto& c : cases) {
        char result[PATH_BUFFER_SIZE];
        EXPECT_EQ(WidePathToAnsi(c.name, result), c.expected != nullptr) << c.name;
        EXPECT_STREQ(result, c.expected != nullptr ? c.expected : "") << c.name;
    }
}

TEST(WidePath, ResolveJoinsOnlyBareNamesThatFit) {
    const std::wstring longName(MAX_PATH_CHARS - 4, L'n');
    const struct {
        const wchar_t* path;
        const wchar_t* expected;  // null: refused
    } cases[] = {
        {L"\uC11C\uC6B8.jpg", L"D:\\\u8868\\\uC11C\uC6B8.jpg"},
        {L"sub\\\U0001F338.jpg", L"sub\\\U0001F338.jpg"},
        {L"*.jpg", L"*.jpg"},  // no file title: left as it is
        {longName.c_str(), nullptr},
    };
    for (const auto& c : cases) {
        wchar_t result[PATH_BUFFER_SIZE];
        EXPECT_EQ(ResolveWideAgainstDir("D:\\\x95\x5c\\", c.path, result), c.expected != nullptr) << c.path;
        EXPECT_STREQ(result, c.expected != nullptr ? c.expected : L"") << c.path;
    }
}

}  // namespace
