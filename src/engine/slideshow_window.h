// The slideshow engine's window procedure, behind the shell's.
#pragma once

#include <windows.h>

// The tick: posted by the multimedia timer with the timer id in wParam.
constexpr UINT WM_SLIDESHOW_TICK = WM_USER + 1;

// The engine's share of the saver window's messages: start and stop, the
// tick, painting and the end of a music track. Everything else goes on to
// SaverDefaultProc.
LRESULT SlideshowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What a test may look at while the window runs.
struct SlideshowView {
    UINT timerId;          // 0 when no timer runs
    double previewScale;   // client height / screen height
    int fadeLevel;
    int posX;
    int posY;
    bool hasPicture;
    bool hasMaskRegion;
};
SlideshowView SlideshowState();
