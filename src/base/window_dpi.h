// The resolution a window is drawn at.
#pragma once

#include <windows.h>

// Pixels per inch of window: its own monitor's where the system keeps one per
// window (Windows 10 1607 and later), else the screen's. 96 when neither can
// be read.
int WindowDpi(HWND window);
