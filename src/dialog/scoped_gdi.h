// Scoped owners the dialog's drawing code needs besides those of
// imaging/gdi_guards.h; each releases on every path and is not copyable.
#pragma once

#include <windows.h>

// A window's client-area device context from GetDC, given back with ReleaseDC.
class ScopedClientDc {
public:
    explicit ScopedClientDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedClientDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    ScopedClientDc(const ScopedClientDc&) = delete;
    ScopedClientDc& operator=(const ScopedClientDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and reselects the previous one on exit.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
