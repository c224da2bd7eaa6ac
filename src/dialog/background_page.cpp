#include "dialog/background_page.h"

#include <commctrl.h>

#include <new>

#include "dialog/browse_glyph.h"
#include "dialog/color_swatch.h"
#include "dialog/file_picker.h"
#include "dialog/list_entries.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"
#include "settings/setting_table.h"

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace {

constexpr DWORD FILE_PICKER_FLAGS = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr int BRIGHTNESS_PAGE = 32;
constexpr int NUMBER_TEXT_SIZE = 16;

struct BackgroundPage {
    SaverSettings* settings = nullptr;  // the frame's record, not owned
    FilePicker* filePicker = nullptr;   // owned; null when it could not be made
    HBITMAP browseGlyph = nullptr;      // owned; shown on the browse button
    HBRUSH swatchBrush = nullptr;       // owned: paints the swatch in backColor
};
BackgroundPage backgroundPage;

// Every control the check box governs, in the order they are switched.
constexpr int GOVERNED_CONTROLS[] = {
    IDC_BACKGROUND_RADIO_PICTURE,   IDC_BACKGROUND_RADIO_COLOR,     IDC_BACKGROUND_LABEL_PATH,
    IDC_BACKGROUND_EDIT_PATH,       IDC_BACKGROUND_BUTTON_BROWSE,   IDC_BACKGROUND_LABEL_BRIGHTNESS,
    IDC_BACKGROUND_TRACK_BRIGHTNESS, IDC_BACKGROUND_TEXT_BRIGHTNESS, IDC_BACKGROUND_RADIO_TILE,
    IDC_BACKGROUND_RADIO_STRETCH,   IDC_BACKGROUND_SWATCH_COLOR,    IDC_BACKGROUND_TEXT_COLOR_HINT,
};
// The controls of a background picture.
constexpr int PICTURE_CONTROLS[] = {
    IDC_BACKGROUND_LABEL_PATH,       IDC_BACKGROUND_EDIT_PATH,       IDC_BACKGROUND_BUTTON_BROWSE,
    IDC_BACKGROUND_LABEL_BRIGHTNESS, IDC_BACKGROUND_TRACK_BRIGHTNESS, IDC_BACKGROUND_TEXT_BRIGHTNESS,
    IDC_BACKGROUND_RADIO_TILE,       IDC_BACKGROUND_RADIO_STRETCH,
};

bool IsChecked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void Enable(HWND page, int id, bool on) {
    EnableWindow(GetDlgItem(page, id), on ? TRUE : FALSE);
}

void ShowBrightness(HWND page) {
    const int position =
        static_cast<int>(SendDlgItemMessageA(page, IDC_BACKGROUND_TRACK_BRIGHTNESS, TBM_GETPOS, 0, 0));
    char text[NUMBER_TEXT_SIZE];
    wsprintfA(text, "%d", position);
    SetDlgItemTextA(page, IDC_BACKGROUND_TEXT_BRIGHTNESS, text);
}

// Takes the glyph off the button and deletes it, then puts on a new one in
// the look of the button's current state.
void RebuildBrowseGlyph(HWND page) {
    HWND button = GetDlgItem(page, IDC_BACKGROUND_BUTTON_BROWSE);
    if (backgroundPage.browseGlyph != nullptr) {
        SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, 0);
        DeleteObject(backgroundPage.browseGlyph);
    }
    backgroundPage.browseGlyph = MakeBrowseGlyph(button, IsWindowEnabled(button) != FALSE);
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(backgroundPage.browseGlyph));
}

void BrowseForPicture(HWND page) {
    FilePicker* picker = backgroundPage.filePicker;
    if (picker == nullptr || !picker->Run()) {
        return;
    }
    // The picker keeps the chosen path, so the next browse starts on it.
    char entry[PATH_BUFFER_SIZE];
    ListEntryForFile(picker->FileName(), backgroundPage.settings->moduleDir, entry);
    SetDlgItemTextA(page, IDC_BACKGROUND_EDIT_PATH, entry);
}

BOOL OnInitDialog(HWND page, LPARAM creationParameter) {
    backgroundPage.settings = reinterpret_cast<SaverSettings*>(creationParameter);
    const SaverSettings& s = *backgroundPage.settings;
    backgroundPage.filePicker = new (std::nothrow) FilePicker(page, FILE_PICKER_FLAGS, PATH_BUFFER_SIZE);
    char filter[FILTER_BUFFER_SIZE];
    LoadFilterList(IDS_FILTER_PICTURES, filter);
    if (backgroundPage.filePicker != nullptr) {
        backgroundPage.filePicker->SetFilter(filter);
    }
    RebuildBrowseGlyph(page);

    if (s.backScreen == 0) {
        CheckDlgButton(page, IDC_BACKGROUND_CHECK_SET, BST_CHECKED);
    }
    SendDlgItemMessageA(page, IDC_BACKGROUND_EDIT_PATH, EM_LIMITTEXT, MAX_PATH_CHARS, 0);
    SetDlgItemTextA(page, IDC_BACKGROUND_EDIT_PATH, s.backPath);

    HWND brightness = GetDlgItem(page, IDC_BACKGROUND_TRACK_BRIGHTNESS);
    const SettingRange brightnesses = SettingRangeOf(&SaverSettings::backBright);
    SendMessageA(brightness, TBM_SETRANGE, FALSE, MAKELPARAM(brightnesses.lower, brightnesses.upper));
    SendMessageA(brightness, TBM_SETPAGESIZE, 0, BRIGHTNESS_PAGE);
    SendMessageA(brightness, TBM_SETPOS, TRUE, s.backBright);
    ShowBrightness(page);

    CheckDlgButton(page, s.backTile != 0 ? IDC_BACKGROUND_RADIO_TILE : IDC_BACKGROUND_RADIO_STRETCH, BST_CHECKED);
    CheckDlgButton(page, s.backUsePic != 0 ? IDC_BACKGROUND_RADIO_PICTURE : IDC_BACKGROUND_RADIO_COLOR,
                   BST_CHECKED);
    backgroundPage.swatchBrush = CreateSolidBrush(static_cast<COLORREF>(s.backColor));

    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BACKGROUND_CHECK_SET, BN_CLICKED), 0);
    return TRUE;
}

BOOL OnCommand(HWND page, WPARAM wParam) {
    const int controlId = LOWORD(wParam);
    switch (controlId) {
        case IDC_BACKGROUND_CHECK_SET:
        case IDC_BACKGROUND_RADIO_PICTURE:
        case IDC_BACKGROUND_RADIO_COLOR:
            UpdateBackgroundControls(page);
            break;
        case IDC_BACKGROUND_BUTTON_BROWSE:
            BrowseForPicture(page);
            break;
        case IDC_BACKGROUND_SWATCH_COLOR:
            if (HIWORD(wParam) == STN_CLICKED) {
                ChooseSwatchColor(*backgroundPage.settings, backgroundPage.settings->backColor,
                                  backgroundPage.swatchBrush, GetDlgItem(page, controlId));
            }
            break;
        default:
            break;
    }
    return TRUE;
}

BOOL OnHScroll(HWND page, LPARAM control) {
    if (reinterpret_cast<HWND>(control) == GetDlgItem(page, IDC_BACKGROUND_TRACK_BRIGHTNESS)) {
        ShowBrightness(page);
    }
    return TRUE;
}

INT_PTR OnCtlColorStatic(LPARAM control) {
    return SwatchBrushFor(reinterpret_cast<HWND>(control), IDC_BACKGROUND_SWATCH_COLOR, backgroundPage.swatchBrush);
}

// The glyph's colours come from the system's button colours at the time it
// was made, and the trackbar keeps its colours from its last layout.
BOOL OnSysColorChange(HWND page) {
    RebuildBrowseGlyph(page);
    SendDlgItemMessageA(page, IDC_BACKGROUND_TRACK_BRIGHTNESS, WM_SIZE, 0, 0);
    return TRUE;
}

// Moved to a monitor of another scale, the page has its controls resized by
// the system; the glyph is made again for the button's new size.
BOOL OnDpiChangedAfterParent(HWND page) {
    RebuildBrowseGlyph(page);
    return TRUE;
}

BOOL OnDestroy(HWND page) {
    delete backgroundPage.filePicker;
    if (backgroundPage.browseGlyph != nullptr) {
        SendDlgItemMessageA(page, IDC_BACKGROUND_BUTTON_BROWSE, BM_SETIMAGE, IMAGE_BITMAP, 0);
        DeleteObject(backgroundPage.browseGlyph);
    }
    ReleaseSwatchBrush(backgroundPage.swatchBrush);
    backgroundPage = BackgroundPage();
    return TRUE;
}

}  // namespace

void UpdateBackgroundControls(HWND page) {
    const bool on = IsChecked(page, IDC_BACKGROUND_CHECK_SET);
    for (int id : GOVERNED_CONTROLS) {
        Enable(page, id, on);
    }
    if (on) {
        if (IsChecked(page, IDC_BACKGROUND_RADIO_PICTURE)) {
            Enable(page, IDC_BACKGROUND_SWATCH_COLOR, false);
            Enable(page, IDC_BACKGROUND_TEXT_COLOR_HINT, false);
        } else if (IsChecked(page, IDC_BACKGROUND_RADIO_COLOR)) {
            for (int id : PICTURE_CONTROLS) {
                Enable(page, id, false);
            }
        }
    }
    RebuildBrowseGlyph(page);
}

INT_PTR CALLBACK BackgroundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page, lParam);
        case WM_COMMAND:
            return OnCommand(page, wParam);
        case WM_HSCROLL:
            return OnHScroll(page, lParam);
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(lParam);
        case WM_SYSCOLORCHANGE:
            return OnSysColorChange(page);
        case WM_DPICHANGED_AFTERPARENT:
            return OnDpiChangedAfterParent(page);
        case WM_DESTROY:
            return OnDestroy(page);
        default:
            return FALSE;
    }
}
