// The frame of the settings dialog: the pages it shows, and what OK and
// Cancel do to the settings file.
#include "dialog/settings_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

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

class SettingsDialogTest : public testing::Test {
protected:
    void SetUp() override { DeleteFileA(DialogIniPath().c_str()); }
    void TearDown() override { DeleteFileA(DialogIniPath().c_str()); }
    void WriteIni(const std::string& text) { ASSERT_TRUE(WriteFileBytes(DialogIniPath(), text)); }
};

const char* const EVERY_KEY_CHANGED =
    "[Back]\r\nPath=D:\\walls\\sky.bmp\r\nScreen=0\r\nUsePic=0\r\nTile=0\r\nBright=-40\r\nBackColor=255\r\n"
    "[Music]\r\nPlayMusic=1\r\nSuffle=0\r\nCount=1\r\n"
    "[Effect]\r\nScale=128\r\nDelay=7\r\nSpeed=5\r\n"
    "[Picture]\r\nCount=2\r\nCenter=1\r\nSuffle=0\r\nNoFadeout=1\r\nMove=0\r\nStretch=0\r\n"
    "MaxWidth=800\r\nMaxHeight=0\r\nUseMask=1\r\nUseColor=1\r\nMaskColor=65280\r\nCC0=4660\r\n"
    "[FileList]\r\nPicture0=D:\\photos\\\r\nPicture1=a.jpg\r\nMusic0=D:\\tunes\\song.mid\r\n";

TEST_F(SettingsDialogTest, TheControlsShowTheFileAndCancelLeavesItByteForByte) {
    WriteIni(EVERY_KEY_CHANGED);
    DialogDriver d;
    ASSERT_TRUE(d.Open());

    EXPECT_EQ(d.ListItems(Tab::Pictures, IDC_PICTURES_LIST), "D:\\photos\\|a.jpg");
    EXPECT_TRUE(d.IsChecked(Tab::Display, IDC_DISPLAY_CHECK_CENTER));
    EXPECT_FALSE(d.IsChecked(Tab::Display, IDC_DISPLAY_CHECK_SHUFFLE));
    EXPECT_TRUE(d.IsChecked(Tab::Display, IDC_DISPLAY_CHECK_NO_FADEOUT));
    EXPECT_FALSE(d.IsChecked(Tab::Display, IDC_DISPLAY_CHECK_MOVE));
    EXPECT_FALSE(d.IsChecked(Tab::Display, IDC_DISPLAY_CHECK_RANDOM_ZOOM));
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_MAX_WIDTH), "800");
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_MAX_HEIGHT), "0");
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_GRADATION), "128");
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_DELAY), "7");
    EXPECT_EQ(SendMessageA(d.Control(Tab::Display, IDC_DISPLAY_TRACK_SPEED), TBM_GETPOS, 0, 0), 5);
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_TEXT_SPEED), InCodePage932(L"遅い"));
    EXPECT_TRUE(d.IsChecked(Tab::Display, IDC_DISPLAY_CHECK_USE_MASK));
    EXPECT_TRUE(d.IsChecked(Tab::Display, IDC_DISPLAY_RADIO_MASK_COLOR));
    EXPECT_FALSE(d.IsChecked(Tab::Display, IDC_DISPLAY_RADIO_TOP_LEFT));
    EXPECT_TRUE(d.IsChecked(Tab::Background, IDC_BACKGROUND_CHECK_SET));
    EXPECT_TRUE(d.IsChecked(Tab::Background, IDC_BACKGROUND_RADIO_COLOR));
    EXPECT_TRUE(d.IsChecked(Tab::Background, IDC_BACKGROUND_RADIO_STRETCH));
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_EDIT_PATH), "D:\\walls\\sky.bmp");
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS), "-40");
    EXPECT_TRUE(d.IsChecked(Tab::Music, IDC_MUSIC_CHECK_PLAY));
    EXPECT_FALSE(d.IsChecked(Tab::Music, IDC_MUSIC_CHECK_SHUFFLE));
    EXPECT_EQ(d.ListItems(Tab::Music, IDC_MUSIC_LIST), "D:\\tunes\\song.mid");

    d.Click(Tab::Display, IDC_DISPLAY_CHECK_CENTER);
    d.Click(Tab::Background, IDC_BACKGROUND_CHECK_SET);
    EXPECT_EQ(d.Press(IDCANCEL), SETTINGS_KEPT);
    EXPECT_EQ(ReadFileBytes(DialogIniPath()), EVERY_KEY_CHANGED);
}

TEST_F(SettingsDialogTest, OkWritesEveryKeyFromTheControls) {
    WriteIni(EVERY_KEY_CHANGED);
    DialogDriver d;
    ASSERT_TRUE(d.Open());
    d.Click(Tab::Background, IDC_BACKGROUND_CHECK_SET);   // unchecked: the captured desktop
    d.Click(Tab::Display, IDC_DISPLAY_RADIO_TOP_LEFT);    // useColor comes from the other radio button
    d.Click(Tab::Display, IDC_DISPLAY_CHECK_MOVE);
    d.Key(Tab::Display, IDC_DISPLAY_TRACK_SPEED, VK_LEFT);
    d.Click(Tab::Music, IDC_MUSIC_CHECK_SHUFFLE);
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);

    EXPECT_EQ(IniValue("Back", "Path"), "D:\\walls\\sky.bmp");
    EXPECT_EQ(IniValue("Back", "Screen"), "1");
    EXPECT_EQ(IniValue("Back", "UsePic"), "0");
    EXPECT_EQ(IniValue("Back", "Tile"), "0");
    EXPECT_EQ(IniValue("Back", "Bright"), "-40");
    EXPECT_EQ(IniValue("Back", "BackColor"), "255");
    EXPECT_EQ(IniValue("Music", "PlayMusic"), "1");
    EXPECT_EQ(IniValue("Music", "Suffle"), "1");
    EXPECT_EQ(IniValue("Music", "Count"), "1");
    EXPECT_EQ(IniValue("Effect", "Scale"), "128");
    EXPECT_EQ(IniValue("Effect", "Delay"), "7");
    EXPECT_EQ(IniValue("Effect", "Speed"), "4");
    EXPECT_EQ(IniValue("Picture", "Count"), "2");
    EXPECT_EQ(IniValue("Picture", "Center"), "1");
    EXPECT_EQ(IniValue("Picture", "Suffle"), "0");
    EXPECT_EQ(IniValue("Picture", "NoFadeout"), "1");
    EXPECT_EQ(IniValue("Picture", "Move"), "1");
    EXPECT_EQ(IniValue("Picture", "Stretch"), "0");
    EXPECT_EQ(IniValue("Picture", "MaxWidth"), "800");
    EXPECT_EQ(IniValue("Picture", "MaxHeight"), "0");
    EXPECT_EQ(IniValue("Picture", "UseMask"), "1");
    EXPECT_EQ(IniValue("Picture", "UseColor"), "0");
    EXPECT_EQ(IniValue("Picture", "MaskColor"), "65280");
    EXPECT_EQ(IniValue("Picture", "CC0"), "4660");
    EXPECT_EQ(IniValue("Picture", "CC15"), "16777215");
    EXPECT_EQ(IniValue("FileList", "Picture0"), "D:\\photos\\");
    EXPECT_EQ(IniValue("FileList", "Picture1"), "a.jpg");
    EXPECT_EQ(IniValue("FileList", "Music0"), "D:\\tunes\\song.mid");
    EXPECT_EQ(IniValue("Debug", "UseElapse"), "<absent>");
}

TEST_F(SettingsDialogTest, WithoutAFileOkSavesTheDefaultsAndEmptyLists) {
    DialogDriver d;
    ASSERT_TRUE(d.Open());
    EXPECT_FALSE(d.IsChecked(Tab::Background, IDC_BACKGROUND_CHECK_SET));
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Back", "Screen"), "1");
    EXPECT_EQ(IniValue("Back", "UsePic"), "1");
    EXPECT_EQ(IniValue("Effect", "Scale"), "64");
    EXPECT_EQ(IniValue("Effect", "Delay"), "40");
    EXPECT_EQ(IniValue("Effect", "Speed"), "3");
    EXPECT_EQ(IniValue("Picture", "MaxWidth"), "640");
    EXPECT_EQ(IniValue("Picture", "Count"), "0");
    EXPECT_EQ(IniValue("Music", "Count"), "0");
    EXPECT_EQ(IniValue("Music", "Suffle"), "1");
}

TEST_F(SettingsDialogTest, EachTabShowsOnlyItsPageAndFocusesItsFirstControl) {
    DialogDriver d;
    ASSERT_TRUE(d.Open());
    EXPECT_TRUE(IsWindowVisible(d.Page(Tab::Pictures)));
    EXPECT_EQ(d.Focus(), d.Control(Tab::Pictures, IDC_PICTURES_LIST));

    const struct {
        Tab tab;
        int focus;
    } tabs[] = {{Tab::Display, IDC_DISPLAY_CHECK_CENTER},
                {Tab::Background, IDC_BACKGROUND_CHECK_SET},
                {Tab::Music, IDC_MUSIC_CHECK_PLAY},
                {Tab::Pictures, IDC_PICTURES_LIST}};
    for (const auto& chosen : tabs) {
        d.ChooseTab(chosen.tab);
        for (Tab other : {Tab::Pictures, Tab::Display, Tab::Background, Tab::Music}) {
            EXPECT_EQ(IsWindowVisible(d.Page(other)) != FALSE, other == chosen.tab)
                << "tab " << static_cast<int>(chosen.tab) << ", page " << static_cast<int>(other);
        }
        EXPECT_EQ(d.Focus(), d.Control(chosen.tab, chosen.focus)) << "tab " << static_cast<int>(chosen.tab);
    }

    // Every page lies over the tab control's display area, below the captions.
    RECT tabArea;
    GetWindowRect(GetDlgItem(d.Dialog(), IDC_SETTINGS_TAB), &tabArea);
    for (Tab tab : {Tab::Pictures, Tab::Display, Tab::Background, Tab::Music}) {
        RECT page;
        GetWindowRect(d.Page(tab), &page);
        EXPECT_GT(page.top, tabArea.top);
        EXPECT_GE(page.left, tabArea.left);
        EXPECT_LE(page.right, tabArea.right);
        EXPECT_LE(page.bottom, tabArea.bottom);
    }
    EXPECT_EQ(d.Press(IDCANCEL), SETTINGS_KEPT);
    EXPECT_FALSE(FileExists(DialogIniPath()));
}

}  // namespace
