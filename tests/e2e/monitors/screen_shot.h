// Everything on every monitor read back at once: one copy of the virtual
// screen, looked up by virtual-screen coordinates (negative left of or above
// the primary monitor). Reading the screen pixel by pixel costs a round trip
// to the X server for each.
#pragma once

#include <windows.h>

class ScreenShot {
public:
    ScreenShot() = default;
    ~ScreenShot();
    ScreenShot(const ScreenShot&) = delete;
    ScreenShot& operator=(const ScreenShot&) = delete;

    // Copies the virtual screen as it is now. False when it cannot.
    bool Take();

    // The pixel at (x, y) of the last copy; CLR_INVALID outside it.
    COLORREF At(int x, int y) const;

private:
    RECT area_ = {};
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    const DWORD* bits_ = nullptr;  // top-down rows of 0x00RRGGBB, owned by bitmap_
};
