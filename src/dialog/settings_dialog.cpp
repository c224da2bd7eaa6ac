#include "dialog/settings_dialog.h"

#include <commctrl.h>

#include <new>

#include "base/program_facts.h"
#include "base/unexpected_error.h"
#include "dialog/background_page.h"
#include "dialog/color_chooser.h"
#include "dialog/display_page.h"
#include "dialog/list_page.h"
#include "dialog/tab_texture.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"

namespace {

constexpr int TAB_CAPTION_SIZE = 1024;

enum PageIndex { PICTURES_PAGE, DISPLAY_PAGE, BACKGROUND_PAGE, MUSIC_PAGE, PAGE_COUNT };

// Each tab: its caption, and the control that takes the focus when the tab is chosen.
struct TabKind {
    UINT captionId;
    int focusId;
};
constexpr TabKind TAB_KINDS[PAGE_COUNT] = {
    {IDS_TAB_PICTURES, IDC_PICTURES_LIST},
    {IDS_TAB_DISPLAY, IDC_DISPLAY_CHECK_CENTER},
    {IDS_TAB_BACKGROUND, IDC_BACKGROUND_CHECK_SET},
    {IDS_TAB_MUSIC, IDC_MUSIC_CHECK_PLAY},
};

constexpr ListPageKind PICTURES_LIST = {IDD_PICTURES_PAGE, IDC_PICTURES_LIST, IDS_FILTER_PICTURES,
                                        &SaverSettings::pictureEntries, false};
constexpr ListPageKind MUSIC_LIST = {IDD_MUSIC_PAGE, IDC_MUSIC_LIST, IDS_FILTER_MUSIC, &SaverSettings::musicEntries,
                                     true};

// The order OK collects the pages in: the background and display settings,
// then the two lists, pictures first. The first list that cannot be rebuilt
// stops OK before anything is saved.
constexpr PageIndex COLLECTION_ORDER[PAGE_COUNT] = {BACKGROUND_PAGE, DISPLAY_PAGE, PICTURES_PAGE, MUSIC_PAGE};

// One dialog run, kept with the dialog's window; it lives in ShowSettingsDialog
// for as long as the window does.
struct SettingsDialog {
    SaverSettings* settings = nullptr;  // owned: the record being edited
    ColorChooser* chooser = nullptr;    // owned; null when it could not be made
    ListPage picturesPage{PICTURES_LIST};
    DisplayPage displayPage;
    BackgroundPage backgroundPage;
    ListPage musicPage{MUSIC_LIST};
    SettingsPage* const pages[PAGE_COUNT] = {&picturesPage, &displayPage, &backgroundPage, &musicPage};

    HWND Page(int index) const { return pages[index]->Window(); }
};

SettingsDialog& DialogOf(HWND dialog) {
    return *reinterpret_cast<SettingsDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The rectangle of the tab control's display area, in the dialog's client
// coordinates: where every page lies.
RECT PageRectangle(HWND dialog, HWND tab) {
    RECT window;
    GetWindowRect(tab, &window);
    POINT origin = {window.left, window.top};
    ScreenToClient(dialog, &origin);
    RECT display;
    GetClientRect(tab, &display);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    POINT corner = {display.left, display.top};
    ClientToScreen(tab, &corner);
    const int x = corner.x - window.left + origin.x;
    const int y = corner.y - window.top + origin.y;
    return RECT{x, y, x + (display.right - display.left), y + (display.bottom - display.top)};
}

void InsertTabs(HWND tab) {
    for (int i = 0; i < PAGE_COUNT; ++i) {
        char caption[TAB_CAPTION_SIZE] = {};
        LoadStringA(ProgramModule(), TAB_KINDS[i].captionId, caption, sizeof caption);
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

BOOL FailToStart(HWND dialog) {
    ShowUnexpectedError(dialog);
    EndDialog(dialog, SETTINGS_FAILED);
    return FALSE;
}

// The run rides in as the creation parameter and stays in the window's DWLP_USER.
BOOL OnInitDialog(HWND dialog, LPARAM creationParameter) {
    SetWindowLongPtrA(dialog, DWLP_USER, creationParameter);
    SettingsDialog& run = *reinterpret_cast<SettingsDialog*>(creationParameter);
    InitCommonControls();
    run.chooser = new (std::nothrow) ColorChooser(dialog, 0);
    run.settings = new (std::nothrow) SaverSettings("gleamo");
    if (run.settings == nullptr || !run.settings->Load(true)) {
        return FailToStart(dialog);
    }
    SaverSettings& s = *run.settings;
    if (run.chooser != nullptr) {
        run.chooser->SetColor(static_cast<COLORREF>(s.maskColor));
        for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
            run.chooser->CustomColors()[i] = static_cast<COLORREF>(s.customColors[i]);
        }
    }
    for (SettingsPage* page : run.pages) {
        // Without every page OK would save blanks over the user's settings.
        if (!page->Create(dialog, s, run.chooser)) {
            return FailToStart(dialog);
        }
        UseTabTexture(page->Window());
    }
    HWND tab = GetDlgItem(dialog, IDC_SETTINGS_TAB);
    InsertTabs(tab);
    const RECT area = PageRectangle(dialog, tab);
    for (SettingsPage* page : run.pages) {
        SetWindowPos(page->Window(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER);
    }
    ShowWindow(run.Page(PICTURES_PAGE), SW_SHOW);
    SetFocus(GetDlgItem(run.Page(PICTURES_PAGE), TAB_KINDS[PICTURES_PAGE].focusId));
    // FALSE keeps the focus on the list instead of the dialog's first control.
    return FALSE;
}

BOOL OnNotify(HWND dialog, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_SETTINGS_TAB || header->code != static_cast<UINT>(TCN_SELCHANGE)) {
        return FALSE;
    }
    const SettingsDialog& run = DialogOf(dialog);
    const int chosen = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SETTINGS_TAB, TCM_GETCURSEL, 0, 0));
    for (int i = 0; i < PAGE_COUNT; ++i) {
        ShowWindow(run.Page(i), SW_HIDE);
    }
    if (chosen >= 0 && chosen < PAGE_COUNT) {
        HWND page = run.Page(chosen);
        ShowWindow(page, SW_SHOW);
        SetFocus(GetDlgItem(page, TAB_KINDS[chosen].focusId));
    }
    return TRUE;
}

// Every page writes its controls into the record; the colours are already
// there, written by the pages when the user confirmed them.
bool CollectSettings(const SettingsDialog& run) {
    for (PageIndex index : COLLECTION_ORDER) {
        if (!run.pages[index]->Collect()) {
            return false;
        }
    }
    return true;
}

BOOL OnOk(HWND dialog) {
    const SettingsDialog& run = DialogOf(dialog);
    if (!CollectSettings(run)) {
        ShowUnexpectedError(dialog);
        EndDialog(dialog, SETTINGS_KEPT);
        return TRUE;
    }
    // A file that cannot be written keeps the dialog open: the user learns
    // that nothing was saved and may still cancel.
    if (!run.settings->Save()) {
        ShowUnexpectedError(dialog);
        return TRUE;
    }
    EndDialog(dialog, SETTINGS_SAVED);
    return TRUE;
}

BOOL OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK:
            return OnOk(dialog);
        case IDCANCEL:
            EndDialog(dialog, SETTINGS_KEPT);
            return TRUE;
        default:
            return FALSE;
    }
}

// Only the pages with trackbars and colour swatches need to hear of it.
BOOL OnSysColorChange(HWND dialog) {
    const SettingsDialog& run = DialogOf(dialog);
    SendMessageA(run.Page(DISPLAY_PAGE), WM_SYSCOLORCHANGE, 0, 0);
    SendMessageA(run.Page(BACKGROUND_PAGE), WM_SYSCOLORCHANGE, 0, 0);
    return FALSE;
}

// The pages' windows go after this, as children of the dialog; their objects
// stay until ShowSettingsDialog returns.
BOOL OnDestroy(HWND dialog) {
    SettingsDialog& run = DialogOf(dialog);
    delete run.chooser;
    run.chooser = nullptr;
    delete run.settings;
    run.settings = nullptr;
    return TRUE;
}

// The messages a dialog gets before WM_INITDIALOG find no run yet and keep
// their default handling.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG && GetWindowLongPtrA(dialog, DWLP_USER) == 0) {
        return FALSE;
    }
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, lParam);
        case WM_NOTIFY:
            return OnNotify(dialog, lParam);
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_SYSCOLORCHANGE:
            return OnSysColorChange(dialog);
        case WM_DESTROY:
            return OnDestroy(dialog);
        default:
            return FALSE;
    }
}

}  // namespace

int ShowSettingsDialog(HWND owner) {
    SettingsDialog run;
    return static_cast<int>(DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                                            SettingsDialogProc, reinterpret_cast<LPARAM>(&run)));
}
