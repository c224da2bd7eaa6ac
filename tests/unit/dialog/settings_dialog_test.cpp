// The frame of the settings dialog: the pages it shows, and what OK and
// Cancel do to the settings file.
#include "dialog/settings_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/path_limits.h"
#include "dialog_driver.h"
#include "resources/resource_ids.h"
#include "support/test_files.h"

namespace {

using Keys = std::set<std::string>;

// Every "key=value" of a section of the settings file.
Keys Section(const char* name) {
    char text[4096] = {};
    GetPrivateProfileSectionA(name, text, sizeof text, DialogIniPath().c_str());
    Keys keys;
    for (const char* entry = text; *entry != '\0'; entry += lstrlenA(entry) + 1) {
        keys.insert(entry);
    }
    return keys;
}

const char* const EVERY_KEY_CHANGED =
    "[Back]\r\nPath=D:\\walls\\sky.bmp\r\nScreen=0\r\nUsePic=0\r\nTile=0\r\nBright=-40\r\nBackColor=255\r\n"
    "[Music]\r\nPlayMusic=1\r\nSuffle=0\r\nCount=1\r\n"
    "[Effect]\r\nScale=128\r\nDelay=7\r\nSpeed=5\r\n"
    "[Picture]\r\nCount=2\r\nCenter=1\r\nSuffle=0\r\nNoFadeout=1\r\nMove=0\r\nStretch=0\r\n"
    "MaxWidth=800\r\nMaxHeight=0\r\nUseMask=1\r\nUseColor=1\r\nMaskColor=65280\r\nCC0=4660\r\n"
    "[FileList]\r\nPicture0=D:\\photos\\\r\nPicture1=a.jpg\r\nMusic0=D:\\tunes\\song.mid\r\n";

TEST(SettingsDialog, EachTabShowsItsPageAloneTheControlsShowTheFileAndOkWritesExactlyTheirKeys) {
    DialogDriver d;
    ASSERT_TRUE(d.Open(EVERY_KEY_CHANGED));
    EXPECT_TRUE(IsWindowVisible(d.Page(Tab::Pictures)));
    for (Tab chosen : {Tab::Display, Tab::Background, Tab::Music, Tab::Pictures}) {
        d.ChooseTab(chosen);
        for (Tab page : {Tab::Pictures, Tab::Display, Tab::Background, Tab::Music}) {
            EXPECT_EQ(IsWindowVisible(d.Page(page)) != FALSE, page == chosen)
                << "tab " << static_cast<int>(chosen) << ", page " << static_cast<int>(page);
        }
    }

    EXPECT_EQ(d.ListItems(Tab::Pictures, IDC_PICTURES_LIST), "D:\\photos\\|a.jpg");
    // Center, shuffle, no fade-out, move, random zoom, use mask, chosen colour, top-left pixel.
    EXPECT_EQ(d.Checked(Tab::Display, {IDC_DISPLAY_CHECK_CENTER, IDC_DISPLAY_CHECK_SHUFFLE,
                                       IDC_DISPLAY_CHECK_NO_FADEOUT, IDC_DISPLAY_CHECK_MOVE,
                                       IDC_DISPLAY_CHECK_RANDOM_ZOOM, IDC_DISPLAY_CHECK_USE_MASK,
                                       IDC_DISPLAY_RADIO_MASK_COLOR, IDC_DISPLAY_RADIO_TOP_LEFT}),
              "10100110");
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_MAX_WIDTH), "800");
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_MAX_HEIGHT), "0");
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_GRADATION), "128");
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_EDIT_DELAY), "7");
    EXPECT_EQ(d.Text(Tab::Display, IDC_DISPLAY_TEXT_SPEED), InCodePage932(L"遅い"));
    // The check box shows the inverse of Screen; the colour, not the picture; stretched, not tiled.
    EXPECT_EQ(d.Checked(Tab::Background, {IDC_BACKGROUND_CHECK_SET, IDC_BACKGROUND_RADIO_COLOR,
                                          IDC_BACKGROUND_RADIO_STRETCH}),
              "111");
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_EDIT_PATH), "D:\\walls\\sky.bmp");
    EXPECT_EQ(d.Text(Tab::Background, IDC_BACKGROUND_TEXT_BRIGHTNESS), "-40");
    EXPECT_EQ(d.Checked(Tab::Music, {IDC_MUSIC_CHECK_PLAY, IDC_MUSIC_CHECK_SHUFFLE}), "10");
    EXPECT_EQ(d.ListItems(Tab::Music, IDC_MUSIC_LIST), "D:\\tunes\\song.mid");

    d.Click(Tab::Background, IDC_BACKGROUND_CHECK_SET);   // unchecked: the captured desktop
    d.Click(Tab::Display, IDC_DISPLAY_RADIO_TOP_LEFT);    // useColor comes from the other radio button
    d.Click(Tab::Display, IDC_DISPLAY_CHECK_MOVE);
    d.Key(Tab::Display, IDC_DISPLAY_TRACK_SPEED, VK_LEFT);
    d.Click(Tab::Music, IDC_MUSIC_CHECK_SHUFFLE);
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);

    EXPECT_EQ(Section("Back"),
              (Keys{"Path=D:\\walls\\sky.bmp", "Screen=1", "UsePic=0", "Tile=0", "Bright=-40", "BackColor=255"}));
    EXPECT_EQ(Section("Music"), (Keys{"PlayMusic=1", "Suffle=1", "Count=1"}));
    EXPECT_EQ(Section("Effect"), (Keys{"Scale=128", "Delay=7", "Speed=4"}));
    Keys picture = {"Count=2",      "Center=1",    "Suffle=0",  "NoFadeout=1", "Move=1",          "Stretch=0",
                    "MaxWidth=800", "MaxHeight=0", "UseMask=1", "UseColor=0",  "MaskColor=65280", "CC0=4660"};
    for (int i = 1; i < 16; ++i) {
        picture.insert("CC" + std::to_string(i) + "=16777215");
    }
    EXPECT_EQ(Section("Picture"), picture);
    EXPECT_EQ(Section("FileList"), (Keys{"Picture0=D:\\photos\\", "Picture1=a.jpg", "Music0=D:\\tunes\\song.mid"}));
    EXPECT_EQ(Section("Debug"), Keys{});
}

// A file the dialog cannot write: OK says so in the one error box and keeps
// the dialog, so that the user may still cancel; Cancel leaves the file as it was.
TEST(SettingsDialog, OkOnAFileThatCannotBeWrittenShowsTheErrorAndKeepsTheDialogOpen) {
    DialogDriver d;
    ASSERT_TRUE(d.Open(EVERY_KEY_CHANGED));
    ASSERT_TRUE(SetFileAttributesA(DialogIniPath().c_str(), FILE_ATTRIBUTE_READONLY));
    d.Click(Tab::Display, IDC_DISPLAY_CHECK_CENTER);

    HWND box = d.PressOpening(IDOK);
    SetFileAttributesA(DialogIniPath().c_str(), FILE_ATTRIBUTE_NORMAL);  // the save is over either way
    ASSERT_NE(box, nullptr) << "the dialog ended without a word";
    EXPECT_EQ(MessageBoxText(box), "Gleamo: " + InCodePage932(L"予期せぬエラーが発生しました。"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(d.WaitClosed(box));
    EXPECT_EQ(d.Press(IDCANCEL), SETTINGS_KEPT) << "the dialog stayed open";
    EXPECT_EQ(ReadFileBytes(DialogIniPath()), EVERY_KEY_CHANGED);
}

// What keeps control from showing whole: it leaves its page, covers another
// control (a group box around it aside) or is too narrow for its box and
// text. Empty when there is nothing.
std::string LayoutFault(HWND control) {
    HWND page = GetParent(control);
    RECT area = {}, own = {}, other = {}, common = {};
    GetWindowRect(page, &area);
    GetWindowRect(control, &own);
    if (own.left < area.left || own.top < area.top || own.right > area.right || own.bottom > area.bottom) {
        return "leaves its page";
    }
    for (HWND sibling = GetWindow(page, GW_CHILD); sibling != nullptr; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        const bool groupBox = (GetWindowLongA(sibling, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        GetWindowRect(sibling, &other);
        if (sibling != control && !groupBox && IntersectRect(&common, &own, &other)) {
            return "covers control " + std::to_string(GetDlgCtrlID(sibling));
        }
    }
    const int overrun = TextOverrun(control) + GetSystemMetrics(SM_CXMENUCHECK) + 2 * GetSystemMetrics(SM_CXEDGE);
    return overrun > 0 ? "too narrow by " + std::to_string(overrun) : "";
}

// The opt-in check boxes show their keys, any nonzero value as checked, and
// OK stores them, an unchecked one by leaving its key out; each shows whole.
TEST(SettingsDialog, TheOptInCheckBoxesShowAndStoreTheirKeysAndShowWhole) {
    const struct {
        Tab tab;
        int id;
        const char* section;
        const char* key;
    } boxes[] = {
        {Tab::Pictures, IDC_PICTURES_CHECK_SUB_FOLDERS, "Picture", "SubFolders"},
        {Tab::Pictures, IDC_PICTURES_CHECK_ALL_FORMATS, "Picture", "AllFormats"},
        {Tab::Display, IDC_DISPLAY_CHECK_CAPTION, "Picture", "Caption"},
        {Tab::Music, IDC_MUSIC_CHECK_SUB_FOLDERS, "Music", "SubFolders"},
    };
    DialogDriver d;
    ASSERT_TRUE(d.Open("[Picture]\r\nSubFolders=1\r\nCaption=3\r\n[Music]\r\nPlayMusic=1\r\n"));
    for (size_t i = 0; i < sizeof boxes / sizeof boxes[0]; ++i) {
        EXPECT_EQ(d.Checked(boxes[i].tab, {boxes[i].id}), i % 2 == 0 ? "1" : "0") << boxes[i].key;
        EXPECT_EQ(LayoutFault(d.Control(boxes[i].tab, boxes[i].id)), "") << boxes[i].key;
        d.Click(boxes[i].tab, boxes[i].id);
    }
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    for (size_t i = 0; i < sizeof boxes / sizeof boxes[0]; ++i) {
        EXPECT_EQ(IniValue(boxes[i].section, boxes[i].key), i % 2 == 0 ? "<absent>" : "1") << boxes[i].key;
    }
}

WNDPROC listProcedure = nullptr;

// Windows may report a double-byte item longer than LB_GETTEXT then gives, as
// it allows for every character taking two bytes; Wine reports the exact
// length. The list is made to answer as Windows may.
LRESULT CALLBACK OverReportingList(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(listProcedure, list, message, wParam, lParam);
    return message == LB_GETTEXTLEN && result > 0 ? result * 2 : result;
}

TEST(SettingsDialog, AnEntryOfTheLongestDoubleByteTextIsSavedWhateverLengthTheListReports) {
    std::string entry = "C:\\";
    while (entry.size() < static_cast<size_t>(MAX_PATH_CHARS)) {
        entry += InCodePage932(L"写");
    }
    ASSERT_EQ(entry.size(), static_cast<size_t>(MAX_PATH_CHARS)) << "a lead byte would be cut off";
    DialogDriver d;
    ASSERT_TRUE(d.Open("[Picture]\r\nCount=1\r\n[FileList]\r\nPicture0=" + entry + "\r\n"));
    HWND list = d.Control(Tab::Pictures, IDC_PICTURES_LIST);
    listProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OverReportingList)));
    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("FileList", "Picture0"), entry);
}

}  // namespace
