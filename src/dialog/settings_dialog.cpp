#include "dialog/settings_dialog.h"

#include <commctrl.h>

#include <new>

#include "base/process_heap.h"
#include "base/program_facts.h"
#include "base/unexpected_error.h"
#include "dialog/background_page.h"
#include "dialog/color_chooser.h"
#include "dialog/dialog_shared.h"
#include "dialog/display_page.h"
#include "dialog/music_page.h"
#include "dialog/pictures_page.h"
#include "dialog/tab_texture.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"

namespace {

constexpr int TAB_CAPTION_SIZE = 1024;

enum PageIndex { PICTURES_PAGE, DISPLAY_PAGE, BACKGROUND_PAGE, MUSIC_PAGE, PAGE_COUNT };

// Each tab: its page's template and procedure, its caption, and the control
// that takes the focus when the tab is chosen.
struct PageKind {
    WORD templateId;
    DLGPROC procedure;
    UINT captionId;
    int focusId;
};
constexpr PageKind PAGE_KINDS[PAGE_COUNT] = {
    {IDD_PICTURES_PAGE, PicturesPageProc, IDS_TAB_PICTURES, IDC_PICTURES_LIST},
    {IDD_DISPLAY_PAGE, DisplayPageProc, IDS_TAB_DISPLAY, IDC_DISPLAY_CHECK_CENTER},
    {IDD_BACKGROUND_PAGE, BackgroundPageProc, IDS_TAB_BACKGROUND, IDC_BACKGROUND_CHECK_SET},
    {IDD_MUSIC_PAGE, MusicPageProc, IDS_TAB_MUSIC, IDC_MUSIC_CHECK_PLAY},
};

// One dialog run per process.
struct SettingsDialog {
    SaverSettings* settings = nullptr;  // owned: the record being edited
    ColorChooser* chooser = nullptr;    // owned; null when it could not be made
    HWND pages[PAGE_COUNT] = {};        // children of the dialog, destroyed with it
};
SettingsDialog settingsDialog;

int CheckState(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
}

// How a control gives the value of its field.
enum class ControlValue { CHECK_STATE, TRACK_POSITION, NUMBER };

// The controls that OK copies into number fields of the record as they stand.
struct ControlBinding {
    PageIndex page;
    int control;
    ControlValue value;
    int SaverSettings::*field;
};
constexpr ControlBinding CONTROL_BINDINGS[] = {
    {BACKGROUND_PAGE, IDC_BACKGROUND_TRACK_BRIGHTNESS, ControlValue::TRACK_POSITION, &SaverSettings::backBright},
    {BACKGROUND_PAGE, IDC_BACKGROUND_RADIO_TILE, ControlValue::CHECK_STATE, &SaverSettings::backTile},
    {BACKGROUND_PAGE, IDC_BACKGROUND_RADIO_PICTURE, ControlValue::CHECK_STATE, &SaverSettings::backUsePic},
    {DISPLAY_PAGE, IDC_DISPLAY_CHECK_CENTER, ControlValue::CHECK_STATE, &SaverSettings::center},
    {DISPLAY_PAGE, IDC_DISPLAY_CHECK_SHUFFLE, ControlValue::CHECK_STATE, &SaverSettings::pictureShuffle},
    {DISPLAY_PAGE, IDC_DISPLAY_CHECK_NO_FADEOUT, ControlValue::CHECK_STATE, &SaverSettings::noFadeout},
    {DISPLAY_PAGE, IDC_DISPLAY_CHECK_MOVE, ControlValue::CHECK_STATE, &SaverSettings::move},
    {DISPLAY_PAGE, IDC_DISPLAY_CHECK_RANDOM_ZOOM, ControlValue::CHECK_STATE, &SaverSettings::randomZoom},
    {DISPLAY_PAGE, IDC_DISPLAY_EDIT_MAX_WIDTH, ControlValue::NUMBER, &SaverSettings::maxWidth},
    {DISPLAY_PAGE, IDC_DISPLAY_EDIT_MAX_HEIGHT, ControlValue::NUMBER, &SaverSettings::maxHeight},
    {DISPLAY_PAGE, IDC_DISPLAY_EDIT_GRADATION, ControlValue::NUMBER, &SaverSettings::fadeSteps},
    {DISPLAY_PAGE, IDC_DISPLAY_EDIT_DELAY, ControlValue::NUMBER, &SaverSettings::holdTicks},
    {DISPLAY_PAGE, IDC_DISPLAY_CHECK_USE_MASK, ControlValue::CHECK_STATE, &SaverSettings::useMask},
    // Only the specify-colour button decides; the top-left one is its complement.
    {DISPLAY_PAGE, IDC_DISPLAY_RADIO_MASK_COLOR, ControlValue::CHECK_STATE, &SaverSettings::useColor},
    {DISPLAY_PAGE, IDC_DISPLAY_TRACK_SPEED, ControlValue::TRACK_POSITION, &SaverSettings::speed},
    {MUSIC_PAGE, IDC_MUSIC_CHECK_PLAY, ControlValue::CHECK_STATE, &SaverSettings::playMusic},
    {MUSIC_PAGE, IDC_MUSIC_CHECK_SHUFFLE, ControlValue::CHECK_STATE, &SaverSettings::musicShuffle},
};

int ControlValueOf(HWND page, int id, ControlValue value) {
    switch (value) {
        case ControlValue::CHECK_STATE:
            return CheckState(page, id);
        case ControlValue::TRACK_POSITION:
            return static_cast<int>(SendDlgItemMessageA(page, id, TBM_GETPOS, 0, 0));
        case ControlValue::NUMBER:
            return static_cast<int>(GetDlgItemInt(page, id, nullptr, FALSE));
    }
    return 0;
}

// Reads item index of a list box into entry (PATH_BUFFER_SIZE bytes). False
// when the item is longer than an entry may be: the pages never add one, so
// it is not cut short here either.
bool ReadListItem(HWND list, int index, char* entry) {
    // The reported length is only an upper bound: with double-byte text it may
    // exceed what LB_GETTEXT then gives. The text is read into a block of the
    // reported size, and its own length decides.
    const LRESULT reported = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (reported < 0) {
        return false;
    }
    char* text = static_cast<char*>(HeapBlockAlloc(static_cast<size_t>(reported) + 1));
    ScopedHeapBlock owner(text);
    if (text == nullptr) {
        return false;
    }
    const LRESULT length = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    const bool fits = length >= 0 && length <= MAX_PATH_CHARS;
    if (fits) {
        lstrcpynA(entry, text, PATH_BUFFER_SIZE);
    }
    return fits;
}

// Rebuilds entries from a list box, in displayed order. False when the list
// cannot grow or an item is longer than an entry may be.
bool CopyListBox(HWND page, int listId, StringList& entries) {
    entries.Clear();
    HWND list = GetDlgItem(page, listId);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char entry[PATH_BUFFER_SIZE] = {};
        if (!ReadListItem(list, i, entry) || !entries.Add(entry)) {
            return false;
        }
    }
    return true;
}

// Copies every control into the record; the colours are already there,
// written by the pages when the user confirmed them.
bool CollectSettings(SaverSettings& s) {
    for (const ControlBinding& binding : CONTROL_BINDINGS) {
        s.*binding.field = ControlValueOf(settingsDialog.pages[binding.page], binding.control, binding.value);
    }
    s.tickPeriodMs = SaverSettings::TickPeriodForSpeed(s.speed);

    HWND background = settingsDialog.pages[BACKGROUND_PAGE];
    GetDlgItemTextA(background, IDC_BACKGROUND_EDIT_PATH, s.backPath, sizeof s.backPath);
    // The check box says "set a background"; the record keeps its opposite.
    s.backScreen = 1 - CheckState(background, IDC_BACKGROUND_CHECK_SET);

    return CopyListBox(settingsDialog.pages[PICTURES_PAGE], IDC_PICTURES_LIST, s.pictureEntries) &&
           CopyListBox(settingsDialog.pages[MUSIC_PAGE], IDC_MUSIC_LIST, s.musicEntries);
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
        LoadStringA(DialogModule(), PAGE_KINDS[i].captionId, caption, sizeof caption);
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

BOOL OnInitDialog(HWND dialog) {
    InitCommonControls();
    settingsDialog.chooser = new (std::nothrow) ColorChooser(dialog, 0);
    settingsDialog.settings = new (std::nothrow) SaverSettings("gleamo");
    if (settingsDialog.settings == nullptr || !settingsDialog.settings->Load(true)) {
        return FailToStart(dialog);
    }
    SaverSettings& s = *settingsDialog.settings;
    if (settingsDialog.chooser != nullptr) {
        settingsDialog.chooser->SetColor(static_cast<COLORREF>(s.maskColor));
        for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i) {
            settingsDialog.chooser->CustomColors()[i] = static_cast<COLORREF>(s.customColors[i]);
        }
    }
    for (int i = 0; i < PAGE_COUNT; ++i) {
        settingsDialog.pages[i] = CreateDialogParamA(DialogModule(), MAKEINTRESOURCEA(PAGE_KINDS[i].templateId),
                                                     dialog, PAGE_KINDS[i].procedure, reinterpret_cast<LPARAM>(&s));
        // Without every page OK would save blanks over the user's settings.
        if (settingsDialog.pages[i] == nullptr) {
            return FailToStart(dialog);
        }
        UseTabTexture(settingsDialog.pages[i]);
    }
    HWND tab = GetDlgItem(dialog, IDC_SETTINGS_TAB);
    InsertTabs(tab);
    const RECT area = PageRectangle(dialog, tab);
    for (HWND page : settingsDialog.pages) {
        SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER);
    }
    ShowWindow(settingsDialog.pages[PICTURES_PAGE], SW_SHOW);
    SetFocus(GetDlgItem(settingsDialog.pages[PICTURES_PAGE], IDC_PICTURES_LIST));
    // FALSE keeps the focus on the list instead of the dialog's first control.
    return FALSE;
}

BOOL OnNotify(HWND dialog, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_SETTINGS_TAB || header->code != static_cast<UINT>(TCN_SELCHANGE)) {
        return FALSE;
    }
    const int chosen = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SETTINGS_TAB, TCM_GETCURSEL, 0, 0));
    for (HWND page : settingsDialog.pages) {
        ShowWindow(page, SW_HIDE);
    }
    if (chosen >= 0 && chosen < PAGE_COUNT) {
        HWND page = settingsDialog.pages[chosen];
        ShowWindow(page, SW_SHOW);
        SetFocus(GetDlgItem(page, PAGE_KINDS[chosen].focusId));
    }
    return TRUE;
}

BOOL OnOk(HWND dialog) {
    if (!CollectSettings(*settingsDialog.settings)) {
        ShowUnexpectedError(dialog);
        EndDialog(dialog, SETTINGS_KEPT);
        return TRUE;
    }
    // A file that cannot be written keeps the dialog open: the user learns
    // that nothing was saved and may still cancel.
    if (!settingsDialog.settings->Save()) {
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
BOOL OnSysColorChange() {
    SendMessageA(settingsDialog.pages[DISPLAY_PAGE], WM_SYSCOLORCHANGE, 0, 0);
    SendMessageA(settingsDialog.pages[BACKGROUND_PAGE], WM_SYSCOLORCHANGE, 0, 0);
    return FALSE;
}

BOOL OnDestroy() {
    delete settingsDialog.chooser;
    delete settingsDialog.settings;
    settingsDialog = SettingsDialog();
    return TRUE;
}

}  // namespace

HINSTANCE DialogModule() {
    return ProgramModule();
}

ColorChooser* SharedColorChooser() {
    return settingsDialog.chooser;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_NOTIFY:
            return OnNotify(dialog, lParam);
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_SYSCOLORCHANGE:
            return OnSysColorChange();
        case WM_DESTROY:
            return OnDestroy();
        default:
            return FALSE;
    }
}
