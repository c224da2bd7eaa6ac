// The background page: its three enabling states, the browse glyph, the
// brightness number and browsing for a picture; and the colour swatches of
// both pages.
#include "dialog/background_page.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/gdi_guards.h"
#include "base/path_limits.h"
#include "dialog/settings_dialog.h"
#include "dialog_driver.h"
#include "resources/resource_ids.h"
#include "support/test_files.h"

namespace {

// The top-left pixel of the browse button's glyph; CLR_INVALID without a glyph.
COLORREF GlyphCorner(const DialogDriver& d) {
    const LRESULT glyph =
        SendMessageA(d.Control(Tab::Background, IDC_BACKGROUND_BUTTON_BROWSE), BM_GETIMAGE, IMAGE_BITMAP, 0);
    ScopedCreatedDc dc(CreateCompatibleDC(nullptr));
    ScopedSelection selection(dc.Get(), reinterpret_cast<HGDIOBJ>(glyph));
    return GetPixel(dc.Get(), 0, 0);
}

class BackgroundPageTest : public testing::Test {
protected:
    void TearDown() override { DeleteFileA(besideProgram.c_str()); }
    void StartWith(const std::string& ini) {
        ASSERT_TRUE(d.Open(ini));
        d.ChooseTab(Tab::Background);
    }
    HWND OpenSwatch(Tab tab, int swatch) {
        d.ChooseTab(tab);
        return d.ClickOpening(tab, swatch);
    }
    std::string Enabled() const {
        return d.Enabled(Tab::Background,
                         {IDC_BACKGROUND_RADIO_PICTURE, IDC_BACKGROUND_RADIO_COLOR, IDC_BACKGROUND_LABEL_PATH,
                          IDC_BACKGROUND_EDIT_PATH, IDC_BACKGROUND_BUTTON_BROWSE, IDC_BACKGROUND_LABEL_BRIGHTNESS,
                          IDC_BACKGROUND_TRACK_BRIGHTNESS, IDC_BACKGROUND_TEXT_BRIGHTNESS, IDC_BACKGROUND_RADIO_TILE,
                          IDC_BACKGROUND_RADIO_STRETCH, IDC_BACKGROUND_SWATCH_COLOR, IDC_BACKGROUND_TEXT_COLOR_HINT});
    }

    std::string besideProgram = ExecutableFolder() + "wall-beside-the-program.jpg";
    DialogDriver d;
};

TEST_F(BackgroundPageTest, TheControlsFollowTheCheckBoxAndTheRadioButtonsAndTheGlyphTheBrowseButton) {
    StartWith("");
    EXPECT_EQ(Enabled(), "000000000000") << "by default the desktop is the background";
    EXPECT_EQ(GlyphCorner(d), RGB(255, 255, 255)) << "the disabled look";

    d.Click(Tab::Background, IDC_BACKGROUND_CHECK_SET);
    EXPECT_EQ(Enabled(), "111111111100");
    // Windows maps the strip's grey background to the button face; Wine's
    // strip has a transparent black one, painted with the face. Either way
    // the enabled look is not white.
    EXPECT_NE(GlyphCorner(d), RGB(255, 255, 255)) << "the enabled look";

    d.Click(Tab::Background, IDC_BACKGROUND_RADIO_COLOR);
    EXPECT_EQ(Enabled(), "110000000011");
    EXPECT_EQ(GlyphCorner(d), RGB(255, 255, 255));

    d.Click(Tab::Background, IDC_BACKGROUND_RADIO_PICTURE);
    d.Click(Tab::Background, IDC_BACKGROUND_RADIO_STRETCH);
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Back", "Screen"), "0");
    EXPECT_EQ(IniValue("Back", "UsePic"), "1");
    EXPECT_EQ(IniValue("Back", "Tile"), "0");
}

// The box is sized in dialog units and the number in the dialog's font, so
// the two grow together at any resolution; a box too narrow wraps the number
// at its minus sign and shows "255".
TEST_F(BackgroundPageTest, TheBrightnessNumberFitsItsBoxAndFollowsTheTrackbarInStepsAndPages) {
    StartWith("[Back]\nScreen=0\nBright=-255\n");
    ASSERT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS), "-255");
    EXPECT_LE(TextOverrun(d.Control(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS)), 0);
    const struct {
        UINT key;
        const char* shown;
    } moves[] = {{VK_NEXT, "-223"}, {VK_RIGHT, "-222"}, {VK_END, "255"}};
    for (const auto& move : moves) {
        d.Key(Tab::Background, IDC_BACKGROUND_TRACK_BRIGHTNESS, move.key);
        EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS), move.shown);
    }
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Back", "Bright"), "255");
}

TEST_F(BackgroundPageTest, BrowsingWritesTheBareNameBesideTheProgramAndTypedTextIsKeptUpToTheLongestPath) {
    ASSERT_TRUE(WriteFileBytes(besideProgram, "x"));
    StartWith("[Back]\nScreen=0\n");
    HWND files = d.ClickOpening(Tab::Background, IDC_BACKGROUND_BUTTON_BROWSE);
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(ChooseInFileDialog(files, besideProgram));
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_EDIT_PATH), "wall-beside-the-program.jpg");

    const std::string typed = "D:\\" + std::string(MAX_PATH_CHARS - 3, 'w');
    d.Type(Tab::Background, IDC_BACKGROUND_EDIT_PATH, typed + "xyz");
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_EDIT_PATH), typed);
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Back", "Path"), typed);
}

// Both swatches share one chooser: it starts on the mask colour, then on the
// colour confirmed last on either page. Cancel keeps the colour and the custom
// colours as they were.
TEST_F(BackgroundPageTest, ConfirmedColoursReachTheFileAndArePreselectedOnEitherPage) {
    StartWith("[Back]\nScreen=0\nUsePic=0\n[Picture]\nUseMask=1\nUseColor=1\nMaskColor=65280\n");
    const COLORREF mask = RGB(0x12, 0x34, 0x56), back = RGB(10, 20, 30);
    HWND colors = OpenSwatch(Tab::Display, IDC_DISPLAY_SWATCH_MASK_COLOR);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(ColorDialogColor(colors), 65280u);
    AnswerColorDialog(colors, mask, true, IDOK);

    colors = OpenSwatch(Tab::Background, IDC_BACKGROUND_SWATCH_COLOR);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(ColorDialogColor(colors), mask);
    AnswerColorDialog(colors, back, false, IDOK);

    colors = OpenSwatch(Tab::Display, IDC_DISPLAY_SWATCH_MASK_COLOR);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(ColorDialogColor(colors), back);
    AnswerColorDialog(colors, RGB(1, 2, 3), true, IDCANCEL);

    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Picture", "MaskColor"), std::to_string(mask));
    EXPECT_EQ(IniValue("Back", "BackColor"), std::to_string(back));
    EXPECT_EQ(IniValue("Picture", "CC0"), std::to_string(mask));
    EXPECT_EQ(IniValue("Picture", "CC1"), "16777215");
}

}  // namespace
