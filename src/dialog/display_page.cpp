#include "dialog/display_page.h"

#include <commctrl.h>

#include <initializer_list>

#include "base/program_facts.h"
#include "dialog/color_swatch.h"
#include "dialog/control_binding.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"
#include "settings/setting_table.h"

namespace {

constexpr int LABEL_BUFFER_SIZE = 1024;

// A number edit with its up-down and the field it shows; it accepts the
// range the field is clamped to on loading, and no more digits than its upper
// bound has.
struct SpinField {
    int edit;
    int upDown;
    int SaverSettings::*field;
};
constexpr SpinField SPIN_FIELDS[] = {
    {IDC_DISPLAY_EDIT_MAX_WIDTH, IDC_DISPLAY_SPIN_MAX_WIDTH, &SaverSettings::maxWidth},
    {IDC_DISPLAY_EDIT_MAX_HEIGHT, IDC_DISPLAY_SPIN_MAX_HEIGHT, &SaverSettings::maxHeight},
    {IDC_DISPLAY_EDIT_GRADATION, IDC_DISPLAY_SPIN_GRADATION, &SaverSettings::fadeSteps},
    {IDC_DISPLAY_EDIT_DELAY, IDC_DISPLAY_SPIN_DELAY, &SaverSettings::holdTicks},
};

// The controls copied back into the record, in this order.
constexpr ControlBinding DISPLAY_BINDINGS[] = {
    {IDC_DISPLAY_CHECK_CENTER, ControlValue::CHECK_STATE, &SaverSettings::center},
    {IDC_DISPLAY_CHECK_SHUFFLE, ControlValue::CHECK_STATE, &SaverSettings::pictureShuffle},
    {IDC_DISPLAY_CHECK_NO_FADEOUT, ControlValue::CHECK_STATE, &SaverSettings::noFadeout},
    {IDC_DISPLAY_CHECK_MOVE, ControlValue::CHECK_STATE, &SaverSettings::move},
    {IDC_DISPLAY_CHECK_RANDOM_ZOOM, ControlValue::CHECK_STATE, &SaverSettings::randomZoom},
    {IDC_DISPLAY_EDIT_MAX_WIDTH, ControlValue::NUMBER, &SaverSettings::maxWidth},
    {IDC_DISPLAY_EDIT_MAX_HEIGHT, ControlValue::NUMBER, &SaverSettings::maxHeight},
    {IDC_DISPLAY_EDIT_GRADATION, ControlValue::NUMBER, &SaverSettings::fadeSteps},
    {IDC_DISPLAY_EDIT_DELAY, ControlValue::NUMBER, &SaverSettings::holdTicks},
    {IDC_DISPLAY_CHECK_USE_MASK, ControlValue::CHECK_STATE, &SaverSettings::useMask},
    // Only the specify-colour button decides; the top-left one is its complement.
    {IDC_DISPLAY_RADIO_MASK_COLOR, ControlValue::CHECK_STATE, &SaverSettings::useColor},
    {IDC_DISPLAY_CHECK_CAPTION, ControlValue::CHECK_STATE, &SaverSettings::caption},
    {IDC_DISPLAY_TRACK_SPEED, ControlValue::TRACK_POSITION, &SaverSettings::speed},
};

int DecimalDigits(int value) {
    int digits = 1;
    for (; value >= 10; value /= 10) {
        ++digits;
    }
    return digits;
}

const SpinField* SpinFieldOfEdit(int edit) {
    for (const SpinField& field : SPIN_FIELDS) {
        if (field.edit == edit) {
            return &field;
        }
    }
    return nullptr;
}

bool IsChecked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void Enable(HWND page, int id, bool on) {
    EnableWindow(GetDlgItem(page, id), on ? TRUE : FALSE);
}

// The up-down takes a 16-bit position and writes it into its buddy edit.
void SetSpinPosition(HWND page, int upDown, int value) {
    SendDlgItemMessageA(page, upDown, UDM_SETPOS, 0, MAKELPARAM(LOWORD(value), 0));
}

// The transparent-colour group follows its check box and radio buttons.
void UpdateMaskControls(HWND page) {
    const bool on = IsChecked(page, IDC_DISPLAY_CHECK_USE_MASK);
    for (int id : {IDC_DISPLAY_RADIO_TOP_LEFT, IDC_DISPLAY_RADIO_MASK_COLOR, IDC_DISPLAY_SWATCH_MASK_COLOR,
                   IDC_DISPLAY_TEXT_MASK_HINT}) {
        Enable(page, id, on);
    }
    if (on && IsChecked(page, IDC_DISPLAY_RADIO_TOP_LEFT)) {
        Enable(page, IDC_DISPLAY_SWATCH_MASK_COLOR, false);
        Enable(page, IDC_DISPLAY_TEXT_MASK_HINT, false);
    }
}

// Random zoom leaves no room for a transparent colour: the whole group is
// disabled while it is on, with its check states kept.
void UpdateRandomZoomRule(HWND page) {
    if (IsChecked(page, IDC_DISPLAY_CHECK_RANDOM_ZOOM)) {
        for (int id : {IDC_DISPLAY_CHECK_USE_MASK, IDC_DISPLAY_RADIO_TOP_LEFT, IDC_DISPLAY_RADIO_MASK_COLOR,
                       IDC_DISPLAY_SWATCH_MASK_COLOR, IDC_DISPLAY_TEXT_MASK_HINT}) {
            Enable(page, id, false);
        }
        return;
    }
    Enable(page, IDC_DISPLAY_CHECK_USE_MASK, true);
    UpdateMaskControls(page);
}

// Shows the word for the speed trackbar's position (empty outside 1..5).
void UpdateSpeedLabel(HWND page) {
    const int position = static_cast<int>(SendDlgItemMessageA(page, IDC_DISPLAY_TRACK_SPEED, TBM_GETPOS, 0, 0));
    // One word per speed, the fastest first.
    const SettingRange speeds = SettingRangeOf(&SaverSettings::speed);
    char word[LABEL_BUFFER_SIZE] = {};
    if (position >= speeds.lower && position <= speeds.upper) {
        LoadStringA(ProgramModule(), IDS_SPEED_FAST + (position - speeds.lower), word, sizeof word);
    }
    SetDlgItemTextA(page, IDC_DISPLAY_TEXT_SPEED, word);
}

// After a number edit loses the focus: a changed value outside lower..upper
// is replaced by the nearer bound (text that is no number counts as 0), and
// the up-down writes it back into the edit.
void ClampSpinEdit(HWND page, int edit, int upDown, unsigned lower, unsigned upper) {
    if (SendDlgItemMessageA(page, edit, EM_GETMODIFY, 0, 0) != TRUE) {
        return;
    }
    unsigned value = GetDlgItemInt(page, edit, nullptr, FALSE);
    if (value < lower) {
        value = lower;
    } else if (value > upper) {
        value = upper;
    }
    SetSpinPosition(page, upDown, static_cast<int>(value));
}

}  // namespace

DisplayPage::DisplayPage() : SettingsPage(IDD_DISPLAY_PAGE) {}

bool DisplayPage::Collect() {
    SaverSettings& s = Settings();
    CopyBoundControls(Window(), DISPLAY_BINDINGS, s);
    s.tickPeriodMs = SaverSettings::TickPeriodForSpeed(s.speed);
    return true;
}

BOOL DisplayPage::OnInit() {
    HWND page = Window();
    const SaverSettings& s = Settings();
    CheckBoundControls(page, DISPLAY_BINDINGS, s);
    if (s.useColor == 0) {
        CheckDlgButton(page, IDC_DISPLAY_RADIO_TOP_LEFT, BST_CHECKED);
    }

    for (const SpinField& field : SPIN_FIELDS) {
        const SettingRange range = SettingRangeOf(field.field);
        SendDlgItemMessageA(page, field.edit, EM_LIMITTEXT, static_cast<WPARAM>(DecimalDigits(range.upper)), 0);
        SendDlgItemMessageA(page, field.upDown, UDM_SETRANGE, 0,
                            MAKELPARAM(static_cast<WORD>(range.upper), static_cast<WORD>(range.lower)));
        SetSpinPosition(page, field.upDown, s.*field.field);
    }

    HWND speed = GetDlgItem(page, IDC_DISPLAY_TRACK_SPEED);
    const SettingRange speeds = SettingRangeOf(&SaverSettings::speed);
    SendMessageA(speed, TBM_SETRANGE, FALSE, MAKELPARAM(speeds.lower, speeds.upper));
    SendMessageA(speed, TBM_SETPAGESIZE, 0, 1);
    SendMessageA(speed, TBM_SETPOS, TRUE, s.speed);
    UpdateSpeedLabel(page);

    swatchBrush_ = CreateSolidBrush(static_cast<COLORREF>(s.maskColor));

    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DISPLAY_CHECK_USE_MASK, BN_CLICKED), 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DISPLAY_CHECK_RANDOM_ZOOM, BN_CLICKED), 0);
    return TRUE;
}

BOOL DisplayPage::OnCommand(int controlId, int code) {
    HWND page = Window();
    switch (controlId) {
        case IDC_DISPLAY_CHECK_USE_MASK:
        case IDC_DISPLAY_RADIO_TOP_LEFT:
        case IDC_DISPLAY_RADIO_MASK_COLOR:
            UpdateMaskControls(page);
            break;
        case IDC_DISPLAY_CHECK_RANDOM_ZOOM:
            UpdateRandomZoomRule(page);
            break;
        case IDC_DISPLAY_SWATCH_MASK_COLOR:
            if (code == STN_CLICKED) {
                ChooseSwatchColor(Chooser(), Settings(), Settings().maskColor, swatchBrush_,
                                  GetDlgItem(page, controlId));
            }
            break;
        default:
            if (code == EN_KILLFOCUS) {
                if (const SpinField* field = SpinFieldOfEdit(controlId)) {
                    const SettingRange range = SettingRangeOf(field->field);
                    ClampSpinEdit(page, field->edit, field->upDown, static_cast<unsigned>(range.lower),
                                  static_cast<unsigned>(range.upper));
                }
            }
            break;
    }
    return TRUE;
}

BOOL DisplayPage::OnHScroll(HWND) {
    UpdateSpeedLabel(Window());
    return TRUE;
}

INT_PTR DisplayPage::OnCtlColorStatic(HWND control) {
    return SwatchBrushFor(control, IDC_DISPLAY_SWATCH_MASK_COLOR, swatchBrush_);
}

// The trackbar keeps its colours from its last layout; a size message makes
// it take the new system colours.
BOOL DisplayPage::OnSysColorChange() {
    SendDlgItemMessageA(Window(), IDC_DISPLAY_TRACK_SPEED, WM_SIZE, 0, 0);
    return TRUE;
}

BOOL DisplayPage::OnDestroy() {
    ReleaseSwatchBrush(swatchBrush_);
    return TRUE;
}
