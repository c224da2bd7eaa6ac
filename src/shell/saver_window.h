// The saver window: full screen, or a preview child filling parent.
#pragma once

#include <windows.h>

// Creates the window and runs its message loop until it is destroyed. The
// result is the process exit code.
int RunSaverWindow(HWND parent);
