#include "e2e/monitors/screen_shot.h"

#include "base/gdi_guards.h"

static constexpr WORD TRUE_COLOR_WITH_PAD = 32;

ScreenShot::~ScreenShot() {
    if (dc_ != nullptr) {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

bool ScreenShot::Take() {
    // Made once, at the virtual screen's size when first taken.
    if (dc_ == nullptr) {
        const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        area_.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        area_.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        area_.right = area_.left + width;
        area_.bottom = area_.top + height;
        BITMAPINFO info = {};
        // Top-down rows.
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, TRUE_COLOR_WITH_PAD, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        if (bitmap_ == nullptr || dc_ == nullptr) {
            return false;
        }
        previous_ = SelectObject(dc_, bitmap_);
        bits_ = static_cast<const DWORD*>(bits);
    }
    ScopedClientDc screen(nullptr);
    const BOOL copied = BitBlt(dc_, 0, 0, area_.right - area_.left, area_.bottom - area_.top, screen.Get(),
                               area_.left, area_.top, SRCCOPY);
    GdiFlush();
    return copied != FALSE;
}

COLORREF ScreenShot::At(int x, int y) const {
    if (bits_ == nullptr || x < area_.left || x >= area_.right || y < area_.top || y >= area_.bottom) {
        return CLR_INVALID;
    }
    const DWORD pixel = bits_[(y - area_.top) * (area_.right - area_.left) + (x - area_.left)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
