#include "shell/switch_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string HandleTextOf(const char* arguments) {
    const char* text = ScanSaverSwitch(arguments).handleText;
    return text != nullptr ? text : "<none>";
}

TEST(SwitchScan, SettingsTakeAHandleOnlyAfterAColon) {
    EXPECT_EQ(HandleTextOf("/c:1234"), "1234");
    EXPECT_EQ(HandleTextOf("/C:"), "");
    EXPECT_EQ(HandleTextOf("/c"), "<none>");
    EXPECT_EQ(HandleTextOf("/c 1234"), "<none>");
}

TEST(SwitchScan, PreviewAndPasswordSkipSpacesBeforeTheHandle) {
    EXPECT_EQ(HandleTextOf("/p   99 x"), "99 x");
    EXPECT_EQ(HandleTextOf("/p:99"), ":99");
    EXPECT_EQ(HandleTextOf("/p\t99"), "\t99");
    EXPECT_EQ(HandleTextOf("/A 12"), "12");
}

TEST(HandleValue, ReadsLeadingDigitsOnlyAndWrapsInThirtyTwoBitsInsteadOfOverflowing) {
    EXPECT_EQ(ParseHandleValue("1234"), 1234u);
    EXPECT_EQ(ParseHandleValue("0012x5"), 12u);
    EXPECT_EQ(ParseHandleValue(""), 0u);
    EXPECT_EQ(ParseHandleValue(":1234"), 0u);
    EXPECT_EQ(ParseHandleValue("-5"), 0u);
    EXPECT_EQ(ParseHandleValue("4294967295"), 4294967295u);
    EXPECT_EQ(ParseHandleValue("4294967297"), 1u);
    EXPECT_EQ(ParseHandleValue("99999999999999999999999999"), 3825205247u);
}

}  // namespace
