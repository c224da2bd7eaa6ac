// The slideshow engine's window procedure, behind the shell's.
#pragma once

#include <windows.h>

#include <mmsystem.h>

// The tick: posted by the multimedia timer with the timer id in wParam.
constexpr UINT WM_SLIDESHOW_TICK = WM_USER + 1;
// Posted when the search of a music library has ended.
constexpr UINT WM_SLIDESHOW_MUSIC_FOUND = WM_USER + 2;

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
    bool periodBegun;      // the timer resolution is raised
    bool hasSettings;      // from a successful start to the end
    double previewScale;   // 1.0 full screen; client height / screen height in the preview
    int fadeLevel;
    double zoom;
    int posX;
    int posY;
    int pictureWidth;      // 0 while the layer holds no picture
    int pictureHeight;
    bool hasMaskRegion;
    HDC backgroundDc;      // the layer's background, null once released
    DWORD musicLength;     // of the track the player has open, 0 when none is
};
SlideshowView SlideshowState();
