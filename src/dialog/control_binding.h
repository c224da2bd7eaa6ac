// The controls a page copies into number fields of the record as they stand.
#pragma once

#include <windows.h>

class SaverSettings;

// How a control gives the value of its field.
enum class ControlValue {
    CHECK_STATE,     // 1 when checked, else 0
    TRACK_POSITION,  // the trackbar's position
    NUMBER,          // the text read as an unsigned number; 0 when it is none
};

struct ControlBinding {
    int control;
    ControlValue value;
    int SaverSettings::*field;
};

// The value of control of page, read as value says; disabled controls are
// read like enabled ones.
int ControlValueOf(HWND page, int control, ControlValue value);

// Checks each bound check box or radio button of page whose field is
// nonzero; the others are left as they are.
void CheckBoundControls(HWND page, const ControlBinding* bindings, int count, const SaverSettings& settings);

template <int N>
void CheckBoundControls(HWND page, const ControlBinding (&bindings)[N], const SaverSettings& settings) {
    CheckBoundControls(page, bindings, N, settings);
}

// Copies each bound control of page into its field of settings, in the order given.
void CopyBoundControls(HWND page, const ControlBinding* bindings, int count, SaverSettings& settings);

template <int N>
void CopyBoundControls(HWND page, const ControlBinding (&bindings)[N], SaverSettings& settings) {
    CopyBoundControls(page, bindings, N, settings);
}
