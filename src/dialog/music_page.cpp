#include "dialog/music_page.h"

#include <initializer_list>

#include "dialog/entry_list_page.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"

namespace {

EntryListPage musicPage;

// Everything but the play-music check box follows its state. Disabled
// controls keep their values: the frame still saves them.
void UpdateMusicControls(HWND page) {
    const BOOL on = IsDlgButtonChecked(page, IDC_MUSIC_CHECK_PLAY) == BST_CHECKED;
    for (int id : {IDC_MUSIC_CHECK_SHUFFLE, IDC_MUSIC_LIST, IDC_MUSIC_BUTTON_ADD, IDC_MUSIC_BUTTON_ADD_FOLDER,
                   IDC_MUSIC_BUTTON_DELETE}) {
        EnableWindow(GetDlgItem(page, id), on);
    }
}

BOOL OnInitDialog(HWND page, LPARAM creationParameter) {
    SaverSettings* settings = reinterpret_cast<SaverSettings*>(creationParameter);
    OpenEntryListPage(musicPage, page, settings, settings->musicEntries, IDC_MUSIC_LIST, IDS_FILTER_MUSIC);
    if (settings->playMusic != 0) {
        CheckDlgButton(page, IDC_MUSIC_CHECK_PLAY, BST_CHECKED);
    }
    if (settings->musicShuffle != 0) {
        CheckDlgButton(page, IDC_MUSIC_CHECK_SHUFFLE, BST_CHECKED);
    }
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_MUSIC_CHECK_PLAY, BN_CLICKED), 0);
    return TRUE;
}

BOOL OnCommand(HWND page, WPARAM wParam) {
    const int controlId = LOWORD(wParam);
    if (controlId == IDC_MUSIC_CHECK_PLAY) {
        UpdateMusicControls(page);
    } else {
        HandleEntryListButton(musicPage, page, controlId);
    }
    return TRUE;
}

BOOL OnDestroy(HWND page) {
    CloseEntryListPage(musicPage, page);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK MusicPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page, lParam);
        case WM_COMMAND:
            return OnCommand(page, wParam);
        case WM_DESTROY:
            return OnDestroy(page);
        default:
            return FALSE;
    }
}
