#include "dialog/background_page.h"

#include <commctrl.h>

#include <new>

#include "dialog/browse_glyph.h"
#include "dialog/color_swatch.h"
#include "dialog/control_binding.h"
#include "dialog/file_picker.h"
#include "dialog/list_entries.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"
#include "settings/setting_table.h"

namespace {

constexpr DWORD FILE_PICKER_FLAGS = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr int BRIGHTNESS_PAGE = 32;
constexpr int NUMBER_TEXT_SIZE = 16;

// The controls copied back into the record, in this order, before the path
// and the set-a-background check box.
constexpr ControlBinding BACKGROUND_BINDINGS[] = {
    {IDC_BACKGROUND_TRACK_BRIGHTNESS, ControlValue::TRACK_POSITION, &SaverSettings::backBright},
    {IDC_BACKGROUND_RADIO_TILE, ControlValue::CHECK_STATE, &SaverSettings::backTile},
    {IDC_BACKGROUND_RADIO_PICTURE, ControlValue::CHECK_STATE, &SaverSettings::backUsePic},
};

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

}  // namespace

BackgroundPage::BackgroundPage() : SettingsPage(IDD_BACKGROUND_PAGE) {}

bool BackgroundPage::Collect() {
    SaverSettings& s = Settings();
    CopyBoundControls(Window(), BACKGROUND_BINDINGS, s);
    GetDlgItemTextA(Window(), IDC_BACKGROUND_EDIT_PATH, s.backPath, sizeof s.backPath);
    // The check box asks for a background of one's own; the record keeps
    // whether the desktop is shown instead.
    const bool ownBackground = ControlValueOf(Window(), IDC_BACKGROUND_CHECK_SET, ControlValue::CHECK_STATE) != 0;
    s.backScreen = ownBackground ? 0 : 1;
    return true;
}

// Takes the glyph off the button and deletes it, then puts on a new one in
// the look of the button's current state.
void BackgroundPage::RebuildBrowseGlyph() {
    HWND button = GetDlgItem(Window(), IDC_BACKGROUND_BUTTON_BROWSE);
    if (browseGlyph_ != nullptr) {
        SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, 0);
        DeleteObject(browseGlyph_);
    }
    browseGlyph_ = MakeBrowseGlyph(button, IsWindowEnabled(button) != FALSE);
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(browseGlyph_));
}

void BackgroundPage::BrowseForPicture() {
    if (filePicker_ == nullptr || !filePicker_->Run()) {
        return;
    }
    // The picker keeps the chosen path, so the next browse starts on it.
    char entry[PATH_BUFFER_SIZE];
    ListEntryForFile(filePicker_->FileName(), Settings().moduleDir, entry);
    SetDlgItemTextA(Window(), IDC_BACKGROUND_EDIT_PATH, entry);
}

BOOL BackgroundPage::OnInit() {
    HWND page = Window();
    const SaverSettings& s = Settings();
    filePicker_ = new (std::nothrow) FilePicker(page, FILE_PICKER_FLAGS, PATH_BUFFER_SIZE);
    char filter[FILTER_BUFFER_SIZE];
    LoadFilterList(IDS_FILTER_PICTURES, filter);
    if (filePicker_ != nullptr) {
        filePicker_->SetFilter(filter);
    }
    RebuildBrowseGlyph();

    const bool desktopShown = s.backScreen != 0;
    if (!desktopShown) {
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
    swatchBrush_ = CreateSolidBrush(static_cast<COLORREF>(s.backColor));

    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BACKGROUND_CHECK_SET, BN_CLICKED), 0);
    return TRUE;
}

BOOL BackgroundPage::OnCommand(int controlId, int code) {
    switch (controlId) {
        case IDC_BACKGROUND_CHECK_SET:
        case IDC_BACKGROUND_RADIO_PICTURE:
        case IDC_BACKGROUND_RADIO_COLOR:
            UpdateControls();
            break;
        case IDC_BACKGROUND_BUTTON_BROWSE:
            BrowseForPicture();
            break;
        case IDC_BACKGROUND_SWATCH_COLOR:
            if (code == STN_CLICKED) {
                ChooseSwatchColor(Chooser(), Settings(), Settings().backColor, swatchBrush_,
                                  GetDlgItem(Window(), controlId));
            }
            break;
        default:
            break;
    }
    return TRUE;
}

BOOL BackgroundPage::OnHScroll(HWND control) {
    if (control == GetDlgItem(Window(), IDC_BACKGROUND_TRACK_BRIGHTNESS)) {
        ShowBrightness(Window());
    }
    return TRUE;
}

INT_PTR BackgroundPage::OnCtlColorStatic(HWND control) {
    return SwatchBrushFor(control, IDC_BACKGROUND_SWATCH_COLOR, swatchBrush_);
}

// The glyph's colours come from the system's button colours at the time it
// was made, and the trackbar keeps its colours from its last layout.
BOOL BackgroundPage::OnSysColorChange() {
    RebuildBrowseGlyph();
    SendDlgItemMessageA(Window(), IDC_BACKGROUND_TRACK_BRIGHTNESS, WM_SIZE, 0, 0);
    return TRUE;
}

// Moved to a monitor of another scale, the page has its controls resized by
// the system; the glyph is made again for the button's new size.
BOOL BackgroundPage::OnDpiChangedAfterParent() {
    RebuildBrowseGlyph();
    return TRUE;
}

BOOL BackgroundPage::OnDestroy() {
    delete filePicker_;
    filePicker_ = nullptr;
    if (browseGlyph_ != nullptr) {
        SendDlgItemMessageA(Window(), IDC_BACKGROUND_BUTTON_BROWSE, BM_SETIMAGE, IMAGE_BITMAP, 0);
        DeleteObject(browseGlyph_);
        browseGlyph_ = nullptr;
    }
    ReleaseSwatchBrush(swatchBrush_);
    return TRUE;
}

// The page's controls follow the set-a-background check box and the
// picture / colour radio buttons; the browse glyph is rebuilt to match.
void BackgroundPage::UpdateControls() {
    HWND page = Window();
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
    RebuildBrowseGlyph();
}
