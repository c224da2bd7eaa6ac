// The display page: number edits clamped when they lose the focus, the speed
// word and the two enabling rules. The colour swatches are tested with the
// background page's.
#include "dialog/display_page.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dialog/settings_dialog.h"
#include "dialog_driver.h"
#include "resources/resource_ids.h"

namespace {

class DisplayPageTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(d.Open());
        d.ChooseTab(Tab::Display);
    }

    DialogDriver d;
};

TEST_F(DisplayPageTest, NumberEditsAreClampedToTheirRangeWhenTheyLoseTheFocus) {
    const struct {
        int edit;
        const char* typed;
        const char* shown;
    } cases[] = {{IDC_DISPLAY_EDIT_DELAY, "0", "0"},
                 {IDC_DISPLAY_EDIT_MAX_WIDTH, "0", "0"},
                 {IDC_DISPLAY_EDIT_GRADATION, "0", "1"},
                 {IDC_DISPLAY_EDIT_GRADATION, "300", "256"}};
    for (const auto& c : cases) {
        d.Type(Tab::Display, c.edit, c.typed);
        d.SetFocusTo(d.Control(Tab::Display, IDC_DISPLAY_CHECK_CENTER));
        EXPECT_EQ(d.Text(Tab::Display, c.edit), c.shown) << c.edit << " typed " << c.typed;
    }

    // Text set without typing is no change of the user's: it is left alone.
    HWND delay = d.Control(Tab::Display, IDC_DISPLAY_EDIT_DELAY);
    SendMessageA(delay, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5000"));
    d.SetFocusTo(delay);
    d.SetFocusTo(d.Control(Tab::Display, IDC_DISPLAY_CHECK_CENTER));
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_DELAY), "5000");

    // An empty edit that never lost the focus is saved as 0.
    d.Type(Tab::Display, IDC_DISPLAY_EDIT_MAX_HEIGHT, "");
    SendMessageA(d.Control(Tab::Display, IDC_DISPLAY_EDIT_MAX_HEIGHT), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Effect", "Scale"), "256");
    EXPECT_EQ(IniValue("Picture", "MaxHeight"), "0");
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
    // Use mask, then the group it governs: top-left pixel, chosen colour, swatch, hint.
    const auto enabled = [&] {
        return d.Enabled(Tab::Display, {IDC_DISPLAY_CHECK_USE_MASK, IDC_DISPLAY_RADIO_TOP_LEFT,
                                        IDC_DISPLAY_RADIO_MASK_COLOR, IDC_DISPLAY_SWATCH_MASK_COLOR,
                                        IDC_DISPLAY_TEXT_MASK_HINT});
    };
    EXPECT_EQ(enabled(), "10000") << "by default no transparent colour";
    // Random zoom disables the whole group and leaves its states as they were.
    const struct {
        int click;
        const char* states;
    } steps[] = {{IDC_DISPLAY_CHECK_USE_MASK, "11100"},    {IDC_DISPLAY_RADIO_MASK_COLOR, "11111"},
                 {IDC_DISPLAY_CHECK_RANDOM_ZOOM, "00000"}, {IDC_DISPLAY_CHECK_RANDOM_ZOOM, "11111"},
                 {IDC_DISPLAY_RADIO_TOP_LEFT, "11100"},    {IDC_DISPLAY_CHECK_USE_MASK, "10000"}};
    for (const auto& step : steps) {
        d.Click(Tab::Display, step.click);
        EXPECT_EQ(enabled(), step.states) << "after clicking " << step.click;
    }
}

}  // namespace
