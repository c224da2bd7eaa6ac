// The pictures and music pages: files added through the real open-file
// dialog, folders through the real folder browser, deletion, and the music
// enabling rule.
#include "dialog/list_page.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "dialog/settings_dialog.h"
#include "dialog_driver.h"
#include "resources/resource_ids.h"
#include "support/test_files.h"

namespace {

class ListPagesTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileBytes(pictures / "a.jpg", "x"));
        ASSERT_TRUE(CreateDirectoryA((pictures / "sub").c_str(), nullptr));
    }

    // Presses add-folder, selects folder when one is given, waits until the
    // browser's selection is named with shownName and confirms it.
    void AddFolder(Tab tab, const std::string& folder, const std::string& shownName) {
        HWND browser = d.ClickOpening(tab, IDC_PICTURES_BUTTON_ADD_FOLDER);
        ASSERT_NE(browser, nullptr) << "no folder browser";
        HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
        ASSERT_NE(tree, nullptr);
        // The browser fills its tree after it shows; a selection made earlier is lost.
        const bool selected = WaitUntil(10000, [&] {
            if (!folder.empty()) {
                SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
            }
            char text[MAX_PATH] = {};
            HTREEITEM caret = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
            TVITEMA item = {TVIF_TEXT, caret, 0, 0, text, sizeof text};
            return item.hItem != nullptr && SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) &&
                   std::string(text).find(shownName) != std::string::npos;
        });
        EXPECT_TRUE(selected) << "the browser did not come to " << shownName;
        PostMessageA(browser, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(d.WaitClosed(browser));
    }

    TempFolder pictures;
    DialogDriver d;
};

// That a file beside the program is listed by its bare name, the list entry
// tests and the background page's browse test check.
TEST_F(ListPagesTest, ChosenFilesAreAppendedWithTheirFullPathsInTheOrderTheDialogGivesThem) {
    // Five hundred photos chosen at once, with the long names cameras give.
    constexpr int PHOTO_COUNT = 500;
    std::string names = "\"a.jpg\"", expected = pictures / "a.jpg" + "|" + pictures / "a.jpg";
    for (int i = 0; i < PHOTO_COUNT; ++i) {
        char photo[64];
        wsprintfA(photo, "IMG_20240517_0930%02d_%04d_HDR_BURST.jpg", i % 60, i);
        ASSERT_TRUE(WriteFileBytes(pictures / photo, "x"));
        names += std::string(" \"") + photo + "\"";
        expected += "|" + pictures / photo;
    }
    ASSERT_TRUE(d.Open());
    HWND files = d.ClickOpening(Tab::Pictures, IDC_PICTURES_BUTTON_ADD);
    ASSERT_NE(files, nullptr) << "no open-file dialog";
    ASSERT_TRUE(ChooseInFileDialog(files, pictures / "a.jpg"));
    EXPECT_EQ(d.ListItems(Tab::Pictures, IDC_PICTURES_LIST), pictures / "a.jpg");

    // The next dialog opens in the folder of the file chosen last, with an empty name.
    files = d.ClickOpening(Tab::Pictures, IDC_PICTURES_BUTTON_ADD);
    ASSERT_NE(files, nullptr) << "no open-file dialog";
    EXPECT_EQ(FileDialogName(files), "");
    EXPECT_EQ(FileDialogFolder(files) + "\\", pictures.Path());
    ASSERT_TRUE(ChooseInFileDialog(files, names));
    EXPECT_EQ(SendMessageA(d.Control(Tab::Pictures, IDC_PICTURES_LIST), LB_GETCOUNT, 0, 0), PHOTO_COUNT + 2);
    EXPECT_EQ(d.ListItems(Tab::Pictures, IDC_PICTURES_LIST), expected)
        << "no duplicate check; several files in the order the dialog gives them";

    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Picture", "Count"), std::to_string(PHOTO_COUNT + 2));
    EXPECT_EQ(IniValue("FileList", "Picture2"), pictures / "IMG_20240517_093000_0000_HDR_BURST.jpg");
}

TEST_F(ListPagesTest, AChosenFolderIsAppendedWithATrailingBackslashAndIsOfferedAgainNextTime) {
    ASSERT_TRUE(d.Open());
    const std::string sub = pictures / "sub";
    AddFolder(Tab::Pictures, sub, "sub");
    AddFolder(Tab::Pictures, "", "sub");
    EXPECT_EQ(d.ListItems(Tab::Pictures, IDC_PICTURES_LIST), sub + "\\|" + sub + "\\");

    d.Click(Tab::Music, IDC_MUSIC_CHECK_PLAY);
    AddFolder(Tab::Music, "C:\\", "C:");
    EXPECT_EQ(d.ListItems(Tab::Music, IDC_MUSIC_LIST), "C:\\") << "a drive root keeps its one backslash";
}

TEST_F(ListPagesTest, DeleteRemovesEverySelectedEntryAndKeepsTheOrderOfTheRest) {
    ASSERT_TRUE(
        d.Open("[Picture]\nCount=5\n[FileList]\nPicture0=p0\nPicture1=p1\nPicture2=p2\nPicture3=p3\nPicture4=p4\n"));
    d.Click(Tab::Pictures, IDC_PICTURES_BUTTON_DELETE);
    EXPECT_EQ(d.ListItems(Tab::Pictures, IDC_PICTURES_LIST), "p0|p1|p2|p3|p4") << "nothing selected";

    HWND list = d.Control(Tab::Pictures, IDC_PICTURES_LIST);
    for (int index : {0, 2, 4}) {
        SendMessageA(list, LB_SETSEL, TRUE, index);
    }
    d.Click(Tab::Pictures, IDC_PICTURES_BUTTON_DELETE);
    EXPECT_EQ(d.ListItems(Tab::Pictures, IDC_PICTURES_LIST), "p1|p3");
}

TEST_F(ListPagesTest, WithoutPlayMusicTheMusicControlsAreDisabledButStillSaved) {
    ASSERT_TRUE(d.Open("[Music]\nPlayMusic=0\nSuffle=1\nCount=1\n[FileList]\nMusic0=song.mid\n"));
    const auto enabled = [&] {
        return d.Enabled(Tab::Music, {IDC_MUSIC_CHECK_PLAY, IDC_MUSIC_CHECK_SHUFFLE, IDC_MUSIC_CHECK_SUB_FOLDERS,
                                      IDC_MUSIC_LIST, IDC_MUSIC_BUTTON_ADD, IDC_MUSIC_BUTTON_ADD_FOLDER,
                                      IDC_MUSIC_BUTTON_DELETE});
    };
    EXPECT_EQ(enabled(), "1000000");
    d.Click(Tab::Music, IDC_MUSIC_CHECK_PLAY);
    EXPECT_EQ(enabled(), "1111111");
    d.Click(Tab::Music, IDC_MUSIC_CHECK_PLAY);
    EXPECT_EQ(enabled(), "1000000");

    EXPECT_EQ(d.Press(IDOK), SETTINGS_SAVED);
    EXPECT_EQ(IniValue("Music", "PlayMusic"), "0");
    EXPECT_EQ(IniValue("Music", "Suffle"), "1");
    EXPECT_EQ(IniValue("FileList", "Music0"), "song.mid");
}

}  // namespace
