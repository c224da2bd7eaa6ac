// The background page: its three enabling states, the browse glyph, the
// brightness number, browsing for a picture and the background colour.
#include "dialog/background_page.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/path_limits.h"
#include "dialog/settings_dialog.h"
#include "dialog_driver.h"
#include "resources/resource_ids.h"
#include "support/test_files.h"

namespace {

std::string IniValue(const char* section, const char* key) {
    char value[512] = {};
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, DialogIniPath().c_str());
    return value;
}

COLORREF CornerOf(HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const COLORREF corner = GetPixel(dc, 0, 0);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return corner;
}

HBITMAP GlyphOn(const DialogDriver& d) {
    return reinterpret_cast<HBITMAP>(
        SendMessageA(d.Control(Tab::Background, IDC_BACKGROUND_BUTTON_BROWSE), BM_GETIMAGE, IMAGE_BITMAP, 0));
}

class BackgroundPageTest : public testing::Test {
protected:
    void SetUp() override { DeleteFileA(DialogIniPath().c_str()); }
    void TearDown() override {
        DeleteFileA(DialogIniPath().c_str());
        DeleteFileA(besideProgram.c_str());
    }
    void StartWith(const std::string& ini) {
        if (!ini.empty()) {
            ASSERT_TRUE(WriteFileBytes(DialogIniPath(), ini));
        }
        ASSERT_TRUE(d.Open());
        d.ChooseTab(Tab::Background);
    }
    // Which of the governed controls are enabled, as a string of 0 and 1.
    std::string Enabled() const {
        static const int governed[] = {
            IDC_BACKGROUND_RADIO_PICTURE,    IDC_BACKGROUND_RADIO_COLOR,      IDC_BACKGROUND_LABEL_PATH,
            IDC_BACKGROUND_EDIT_PATH,        IDC_BACKGROUND_BUTTON_BROWSE,    IDC_BACKGROUND_LABEL_BRIGHTNESS,
            IDC_BACKGROUND_TRACK_BRIGHTNESS, IDC_BACKGROUND_TEXT_BRIGHTNESS, IDC_BACKGROUND_RADIO_TILE,
            IDC_BACKGROUND_RADIO_STRETCH,    IDC_BACKGROUND_SWATCH_COLOR,     IDC_BACKGROUND_TEXT_COLOR_HINT};
        std::string states;
        for (int id : governed) {
            states += d.IsEnabled(Tab::Background, id) ? '1' : '0';
        }
        return states;
    }

    std::string besideProgram = ExecutableFolder() + "wall-beside-the-program.jpg";
    DialogDriver d;
};

TEST_F(BackgroundPageTest, TheControlsFollowTheCheckBoxAndTheRadioButtonsAndTheGlyphTheBrowseButton) {
    StartWith("");
    EXPECT_EQ(Enabled(), "000000000000") << "by default the desktop is the background";
    ASSERT_NE(GlyphOn(d), nullptr);
    EXPECT_EQ(CornerOf(GlyphOn(d)), RGB(255, 255, 255)) << "the disabled look";

    d.Click(Tab::Background, IDC_BACKGROUND_CHECK_SET);
    EXPECT_EQ(Enabled(), "111111111100");
    // Windows maps the strip's grey background to the button face; Wine's
    // strip has a black one. Either way the enabled look keeps it.
    EXPECT_NE(CornerOf(GlyphOn(d)), RGB(255, 255, 255)) << "the enabled look";

    d.Click(Tab::Background, IDC_BACKGROUND_RADIO_COLOR);
    EXPECT_EQ(Enabled(), "110000000011");
    EXPECT_EQ(CornerOf(GlyphOn(d)), RGB(255, 255, 255));

    // A change of system colours rebuilds the glyph in the look it had.
    const HBITMAP before = GlyphOn(d);
    SendMessageA(d.Dialog(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_NE(GlyphOn(d), before);
    EXPECT_EQ(CornerOf(GlyphOn(d)), RGB(255, 255, 255));

    d.Click(Tab::Background, IDC_BACKGROUND_RADIO_PICTURE);
    d.Click(Tab::Background, IDC_BACKGROUND_RADIO_STRETCH);
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Back", "Screen"), "0");
    EXPECT_EQ(IniValue("Back", "UsePic"), "1");
    EXPECT_EQ(IniValue("Back", "Tile"), "0");
}

TEST_F(BackgroundPageTest, TheBrightnessNumberFollowsTheTrackbarInStepsAndPages) {
    StartWith("[Back]\nScreen=0\nBright=-255\n");
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS), "-255");
    d.Key(Tab::Background, IDC_BACKGROUND_TRACK_BRIGHTNESS, VK_NEXT);
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS), "-223");
    d.Key(Tab::Background, IDC_BACKGROUND_TRACK_BRIGHTNESS, VK_RIGHT);
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS), "-222");
    d.Key(Tab::Background, IDC_BACKGROUND_TRACK_BRIGHTNESS, VK_END);
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS), "255");
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Back", "Bright"), "255");
}

TEST_F(BackgroundPageTest, BrowsingWritesTheBareNameBesideTheProgramAndTheFullPathElsewhere) {
    TempFolder walls;
    ASSERT_TRUE(WriteFileBytes(walls / "sky.jpg", "x"));
    ASSERT_TRUE(WriteFileBytes(besideProgram, "x"));
    StartWith("[Back]\nScreen=0\n");

    HWND files = d.ClickOpening(Tab::Background, IDC_BACKGROUND_BUTTON_BROWSE);
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(ChooseInFileDialog(files, "", walls / "sky.jpg"));
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_EDIT_PATH), walls / "sky.jpg");

    files = d.ClickOpening(Tab::Background, IDC_BACKGROUND_BUTTON_BROWSE);
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(ChooseInFileDialog(files, "", besideProgram));
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_EDIT_PATH), "wall-beside-the-program.jpg");

    // Typed text is kept as typed, up to the longest path.
    const std::string typed = "D:\\" + std::string(MAX_PATH_CHARS - 3, 'w');
    d.Type(Tab::Background, IDC_BACKGROUND_EDIT_PATH, typed + "xyz");
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_EDIT_PATH), typed);
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Back", "Path"), typed);
}

TEST_F(BackgroundPageTest, TheBackgroundColourIsSavedAndPreselectedOnTheDisplayPage) {
    StartWith("[Back]\nScreen=0\nUsePic=0\nBackColor=255\n[Picture]\nMaskColor=65280\n");
    HWND colors = d.ClickStaticOpening(Tab::Background, IDC_BACKGROUND_SWATCH_COLOR);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(GetDlgItemInt(colors, 707, nullptr, FALSE), 255u) << "the chooser starts on the mask colour";
    AnswerColorDialog(colors, RGB(10, 20, 30), false, IDOK);

    d.ChooseTab(Tab::Display);
    d.Click(Tab::Display, IDC_DISPLAY_CHECK_USE_MASK);
    d.Click(Tab::Display, IDC_DISPLAY_RADIO_MASK_COLOR);
    colors = d.ClickStaticOpening(Tab::Display, IDC_DISPLAY_SWATCH_MASK_COLOR);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(GetDlgItemInt(colors, 706, nullptr, FALSE), 10u);
    EXPECT_EQ(GetDlgItemInt(colors, 708, nullptr, FALSE), 30u);
    AnswerColorDialog(colors, RGB(0, 0, 0), false, IDCANCEL);

    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Back", "BackColor"), std::to_string(RGB(10, 20, 30)));
    EXPECT_EQ(IniValue("Picture", "MaskColor"), "65280");
}

}  // namespace
