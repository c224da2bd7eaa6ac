// The mode dispatch: from the argument text to the settings dialog, the
// full-screen saver, the preview or the password change.
#pragma once

#include <windows.h>

// The modes SaverEntry can start. The program uses RealSaverModes(); tests
// pass their own to see which mode was chosen with which window.
struct SaverModes {
    int (*showSettingsDialog)(HWND owner);
    int (*runSaverWindow)(HWND parent);  // null parent: full screen
    void (*changeSaverPassword)(HWND parent);
};

const SaverModes& RealSaverModes();

// Remembers the instance, detects the platform family and runs the mode the
// first switch names. The result is the process exit code.
int SaverEntry(HINSTANCE instance, const char* arguments);

// The dispatch itself, for a given platform family and set of modes. An
// unknown switch, a preview without a valid window and a password change
// outside the 95/98 family give -1.
int DispatchSaverMode(const char* arguments, bool isWin9x, const SaverModes& modes);

// The window whose handle is written in decimal at the start of text (0 when
// the text does not start with a digit).
HWND ParseWindowHandle(const char* text);

// The 95/98 family's own password-change dialog for screen savers.
void ChangeSaverPassword(HWND parent);
