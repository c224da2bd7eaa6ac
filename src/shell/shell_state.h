// Process-wide state of the screen-saver shell.
#pragma once

#include <windows.h>

struct ShellState {
    HINSTANCE instance = nullptr;  // the program's own module: resources, window class
    bool isWin9x = false;          // the 95/98 family (VER_PLATFORM_WIN32_WINDOWS)
};

ShellState& Shell();

// True when GetVersionExA reports the 95/98 family; false when it fails.
bool DetectWin9x();
