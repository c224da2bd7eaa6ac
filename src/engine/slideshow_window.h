// The slideshow engine's window procedure, behind the shell's.
#pragma once

#include <windows.h>

// The engine's share of the saver window's messages; everything it does not
// handle goes on to SaverDefaultProc.
LRESULT SlideshowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
