// The slideshow engine's window procedure, behind the shell's.
#pragma once

#include <windows.h>

// The tick: posted by the multimedia timer with the timer id in wParam.
constexpr UINT WM_SLIDESHOW_TICK = WM_USER + 1;

// The engine's share of the saver window's messages: start and stop, the
// tick, painting and the end of a music track. Everything else goes on to
// the fallback procedure.
LRESULT SlideshowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Where the engine hands every message it does not handle: the shell's close
// rules in the saver, the platform's default handling until one is given.
typedef LRESULT(CALLBACK* UnhandledMessageProc)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetSlideshowFallback(UnhandledMessageProc fallback);

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
