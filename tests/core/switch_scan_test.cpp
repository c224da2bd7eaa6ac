#include "shell/switch_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SaverMode ModeOf(const char* arguments) {
    return ScanSaverSwitch(arguments).mode;
}

std::string HandleTextOf(const char* arguments) {
    const char* text = ScanSaverSwitch(arguments).handleText;
    return text != nullptr ? text : "<none>";
}

TEST(SwitchScan, NoSwitchMeansTheUnownedSettingsDialog) {
    EXPECT_EQ(ModeOf(""), SaverMode::Settings);
    EXPECT_EQ(ModeOf("   "), SaverMode::Settings);
    EXPECT_EQ(ModeOf("-/ -"), SaverMode::Settings);
}

TEST(SwitchScan, LetterCaseAndSeparatorsDoNotMatter) {
    for (const char* arguments : {"s", "S", "/s", "-S", " /S", "--//s"}) {
        EXPECT_EQ(ModeOf(arguments), SaverMode::FullScreen) << arguments;
    }
}

TEST(SwitchScan, OnlyTheFirstLetterCounts) {
    EXPECT_EQ(ModeOf("/s /c"), SaverMode::FullScreen);
    EXPECT_EQ(ModeOf("/sx"), SaverMode::FullScreen);
    EXPECT_EQ(ModeOf("/c /s"), SaverMode::SettingsOwned);
}

TEST(SwitchScan, AnythingElseIsRefused) {
    for (const char* arguments : {"/x", "\t/s", "1", "/?", "\x82\xa0", "x /s"}) {
        EXPECT_EQ(ModeOf(arguments), SaverMode::Invalid) << arguments;
    }
}

TEST(SwitchScan, SettingsTakeAHandleOnlyAfterAColon) {
    EXPECT_EQ(HandleTextOf("/c:1234"), "1234");
    EXPECT_EQ(HandleTextOf("/C:"), "");
    EXPECT_EQ(HandleTextOf("/c"), "<none>");
    EXPECT_EQ(HandleTextOf("/c 1234"), "<none>");
}

TEST(SwitchScan, PreviewAndPasswordSkipSpacesBeforeTheHandle) {
    EXPECT_EQ(ModeOf("/p 99"), SaverMode::Preview);
    EXPECT_EQ(ModeOf("/l 99"), SaverMode::Preview);
    EXPECT_EQ(ModeOf("-L99"), SaverMode::Preview);
    EXPECT_EQ(HandleTextOf("/p   99 x"), "99 x");
    EXPECT_EQ(HandleTextOf("/p:99"), ":99");
    EXPECT_EQ(HandleTextOf("/p\t99"), "\t99");
    EXPECT_EQ(ModeOf("/a 12"), SaverMode::ChangePassword);
    EXPECT_EQ(HandleTextOf("/A 12"), "12");
}

TEST(HandleValue, ReadsLeadingDigitsOnly) {
    EXPECT_EQ(ParseHandleValue("1234"), 1234u);
    EXPECT_EQ(ParseHandleValue("0012x5"), 12u);
    EXPECT_EQ(ParseHandleValue(""), 0u);
    EXPECT_EQ(ParseHandleValue(":1234"), 0u);
    EXPECT_EQ(ParseHandleValue("-5"), 0u);
    EXPECT_EQ(ParseHandleValue("4294967295"), 4294967295u);
}

TEST(HandleValue, WrapsInThirtyTwoBitsInsteadOfOverflowing) {
    EXPECT_EQ(ParseHandleValue("4294967296"), 0u);
    EXPECT_EQ(ParseHandleValue("4294967297"), 1u);
    EXPECT_EQ(ParseHandleValue("99999999999999999999999999"), 3825205247u);
}

}  // namespace
