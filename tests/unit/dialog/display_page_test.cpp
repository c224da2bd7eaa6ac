// The display page: number edits clamped when they lose the focus, the speed
// word, the two enabling rules and the transparent colour.
#include "dialog/display_page.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "dialog/settings_dialog.h"
#include "dialog_driver.h"
#include "resources/resource_ids.h"
#include "support/test_files.h"

namespace {

std::string InCodePage932(const wchar_t* text) {
    char buffer[256] = {};
    WideCharToMultiByte(932, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

std::string IniValue(const char* section, const char* key) {
    char value[512] = {};
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, DialogIniPath().c_str());
    return value;
}

class DisplayPageTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(DialogIniPath().c_str());
        ASSERT_TRUE(d.Open());
        d.ChooseTab(Tab::Display);
    }
    void TearDown() override { DeleteFileA(DialogIniPath().c_str()); }

    // Types text into an edit, then moves the focus on, as Tab would.
    std::string TypeAndLeave(int edit, const std::string& text) {
        d.Type(Tab::Display, edit, text);
        d.SetFocusTo(d.Control(Tab::Display, IDC_DISPLAY_CHECK_CENTER));
        return d.Text(Tab::Display, edit);
    }

    DialogDriver d;
};

TEST_F(DisplayPageTest, NumberEditsAreClampedToTheirRangeWhenTheyLoseTheFocus) {
    EXPECT_EQ(TypeAndLeave(IDC_DISPLAY_EDIT_GRADATION, "0"), "1");
    EXPECT_EQ(TypeAndLeave(IDC_DISPLAY_EDIT_GRADATION, "300"), "256");
    EXPECT_EQ(TypeAndLeave(IDC_DISPLAY_EDIT_GRADATION, "1234"), "123") << "a fourth digit cannot be typed";
    EXPECT_EQ(TypeAndLeave(IDC_DISPLAY_EDIT_DELAY, "0"), "0");
    EXPECT_EQ(TypeAndLeave(IDC_DISPLAY_EDIT_MAX_WIDTH, "0"), "0");
    EXPECT_EQ(TypeAndLeave(IDC_DISPLAY_EDIT_MAX_HEIGHT, "12345"), "1234");
    EXPECT_EQ(TypeAndLeave(IDC_DISPLAY_EDIT_GRADATION, "x"), "123") << "the edit takes digits only";

    // Text set without typing is no change of the user's: it is left alone.
    HWND delay = d.Control(Tab::Display, IDC_DISPLAY_EDIT_DELAY);
    SendMessageA(delay, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5000"));
    d.SetFocusTo(delay);
    d.SetFocusTo(d.Control(Tab::Display, IDC_DISPLAY_CHECK_CENTER));
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_DELAY), "5000");

    // An empty edit that never lost the focus is saved as 0.
    d.Type(Tab::Display, IDC_DISPLAY_EDIT_MAX_WIDTH, "");
    SendMessageA(d.Control(Tab::Display, IDC_DISPLAY_EDIT_MAX_WIDTH), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Effect", "Scale"), "123");
    EXPECT_EQ(IniValue("Picture", "MaxHeight"), "1234");
    EXPECT_EQ(IniValue("Picture", "MaxWidth"), "0");
}

TEST_F(DisplayPageTest, TheSpeedWordFollowsTheTrackbarAtOnce) {
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_TEXT_SPEED), InCodePage932(L"普通"));
    const struct {
        UINT key;
        const wchar_t* word;
    } moves[] = {{VK_RIGHT, L"やや遅い"}, {VK_RIGHT, L"遅い"}, {VK_RIGHT, L"遅い"},
                 {VK_HOME, L"速い"},      {VK_RIGHT, L"やや速い"}};
    for (const auto& move : moves) {
        d.Key(Tab::Display, IDC_DISPLAY_TRACK_SPEED, move.key);
        EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_TEXT_SPEED), InCodePage932(move.word));
    }
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Effect", "Speed"), "2");
}

TEST_F(DisplayPageTest, TheTransparentColourGroupFollowsItsCheckBoxAndRandomZoom) {
    const int group[] = {IDC_DISPLAY_RADIO_TOP_LEFT, IDC_DISPLAY_RADIO_MASK_COLOR, IDC_DISPLAY_SWATCH_MASK_COLOR,
                         IDC_DISPLAY_TEXT_MASK_HINT};
    auto enabled = [&] {
        std::string states;
        for (int id : group) {
            states += d.IsEnabled(Tab::Display, id) ? '1' : '0';
        }
        return states;
    };
    // Defaults: no transparent colour, the top-left pixel's colour chosen.
    EXPECT_TRUE(d.IsChecked(Tab::Display, IDC_DISPLAY_RADIO_TOP_LEFT));
    EXPECT_EQ(enabled(), "0000");

    d.Click(Tab::Display, IDC_DISPLAY_CHECK_USE_MASK);
    EXPECT_EQ(enabled(), "1100") << "the swatch is for a chosen colour only";
    d.Click(Tab::Display, IDC_DISPLAY_RADIO_MASK_COLOR);
    EXPECT_EQ(enabled(), "1111");
    EXPECT_FALSE(d.IsChecked(Tab::Display, IDC_DISPLAY_RADIO_TOP_LEFT));

    d.Click(Tab::Display, IDC_DISPLAY_CHECK_RANDOM_ZOOM);
    EXPECT_FALSE(d.IsEnabled(Tab::Display, IDC_DISPLAY_CHECK_USE_MASK));
    EXPECT_EQ(enabled(), "0000");
    EXPECT_TRUE(d.IsChecked(Tab::Display, IDC_DISPLAY_CHECK_USE_MASK)) << "states are kept while disabled";

    d.Click(Tab::Display, IDC_DISPLAY_CHECK_RANDOM_ZOOM);
    EXPECT_TRUE(d.IsEnabled(Tab::Display, IDC_DISPLAY_CHECK_USE_MASK));
    EXPECT_EQ(enabled(), "1111");
    d.Click(Tab::Display, IDC_DISPLAY_RADIO_TOP_LEFT);
    EXPECT_EQ(enabled(), "1100");
    d.Click(Tab::Display, IDC_DISPLAY_CHECK_USE_MASK);
    EXPECT_EQ(enabled(), "0000");
}

TEST_F(DisplayPageTest, AConfirmedColourReachesTheFileAndACancelledOneChangesNothing) {
    const COLORREF chosen = RGB(0x12, 0x34, 0x56);
    d.Click(Tab::Display, IDC_DISPLAY_CHECK_USE_MASK);
    d.Click(Tab::Display, IDC_DISPLAY_RADIO_MASK_COLOR);
    HWND colors = d.ClickStaticOpening(Tab::Display, IDC_DISPLAY_SWATCH_MASK_COLOR);
    ASSERT_NE(colors, nullptr);
    AnswerColorDialog(colors, chosen, true, IDOK);

    colors = d.ClickStaticOpening(Tab::Display, IDC_DISPLAY_SWATCH_MASK_COLOR);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(GetDlgItemInt(colors, 706, nullptr, FALSE), 0x12u) << "the last confirmed colour is preselected";
    AnswerColorDialog(colors, RGB(1, 2, 3), true, IDCANCEL);

    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Picture", "MaskColor"), std::to_string(chosen));
    EXPECT_EQ(IniValue("Picture", "CC0"), std::to_string(chosen));
    EXPECT_EQ(IniValue("Picture", "CC1"), "16777215");
}

}  // namespace
