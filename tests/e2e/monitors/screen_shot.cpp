#include "e2e/monitors/screen_shot.h"

#include "base/gdi_guards.h"

namespace {

constexpr WORD TRUE_COLOR_WITH_PAD = 32;

}  // namespace

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
        area_.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        area_.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        area_.right = area_.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
        area_.bottom = area_.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = area_.right - area_.left;
        info.bmiHeader.biHeight = -(area_.bottom - area_.top);  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = TRUE_COLOR_WITH_PAD;
        info.bmiHeader.biCompression = BI_RGB;
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
