#include "dialog/control_binding.h"

#include <commctrl.h>

#include "settings/saver_settings.h"

int ControlValueOf(HWND page, int control, ControlValue value) {
    switch (value) {
        case ControlValue::CHECK_STATE:
            return IsDlgButtonChecked(page, control) == BST_CHECKED ? 1 : 0;
        case ControlValue::TRACK_POSITION:
            return static_cast<int>(SendDlgItemMessageA(page, control, TBM_GETPOS, 0, 0));
        case ControlValue::NUMBER:
            return static_cast<int>(GetDlgItemInt(page, control, nullptr, FALSE));
    }
    return 0;
}

void CheckBoundControls(HWND page, const ControlBinding* bindings, int count, const SaverSettings& settings) {
    for (int i = 0; i < count; ++i) {
        if (bindings[i].value == ControlValue::CHECK_STATE && settings.*bindings[i].field != 0) {
            CheckDlgButton(page, bindings[i].control, BST_CHECKED);
        }
    }
}

void CopyBoundControls(HWND page, const ControlBinding* bindings, int count, SaverSettings& settings) {
    for (int i = 0; i < count; ++i) {
        settings.*bindings[i].field = ControlValueOf(page, bindings[i].control, bindings[i].value);
    }
}
