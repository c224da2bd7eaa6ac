// The saver window: full screen, or a preview child filling a host window,
// with the rules that decide when it closes.
#pragma once

#include <windows.h>

// Sent by the systems from Vista on; the headers for the older systems this
// program runs on do not name it.
#ifndef PBT_POWERSETTINGCHANGE
#define PBT_POWERSETTINGCHANGE 0x8013
#endif
// The horizontal wheel, likewise from Vista on.
#ifndef WM_MOUSEHWHEEL
#define WM_MOUSEHWHEEL 0x020E
#endif

// Creates the window and runs its message loop until it is destroyed. The
// result is the process exit code: 0 after a normal end, and also when another
// full-screen saver was running and has been brought forward; -1 when no
// window could be created.
int RunSaverWindow(HWND parent);

// Creates the saver window without running a loop (null parent: full screen).
// Null when the class, the window or the engine's start fails.
HWND CreateSaverWindow(HWND parent);

// The running full-screen saver, if any ("WindowsScreenSaverClass", "Screen Saver").
HWND FindRunningSaver();

// The class's window procedure: sees every message first, then passes it to
// the engine.
LRESULT CALLBACK SaverShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What the engine does with every message it does not handle itself: the
// close rules, then the platform's default handling.
LRESULT CALLBACK SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Asks for the password where one is needed; nonzero when closing is allowed.
// No second prompt comes within 200 ms of the end of the last one.
UINT_PTR VerifyBeforeClose(HWND window);

// Read-only view of the shell's window state, for tests.
struct SaverWindowView {
    bool isPreview;
    UINT_PTR closeGranted;
    bool verifyingPassword;
    POINT startCursor;
};
SaverWindowView SaverWindowState();
