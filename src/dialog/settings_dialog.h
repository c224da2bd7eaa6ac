// The settings dialog: four tabs over the settings file.
#pragma once

#include <windows.h>

// The values that end the dialog.
constexpr INT_PTR SETTINGS_SAVED = 1;     // OK: the settings file was written
constexpr INT_PTR SETTINGS_KEPT = 2;      // Cancel, or the lists could not be copied: nothing written
constexpr INT_PTR SETTINGS_FAILED = -1;   // could not start: nothing shown, nothing written

// Shows the dialog modally over owner (may be null) and returns the value
// that ended it, or DialogBoxParamA's own failure value when the window
// could not be made.
int ShowSettingsDialog(HWND owner);
