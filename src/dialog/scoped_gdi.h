// Scoped owners for the temporary objects the dialog's drawing code makes; each
// releases on every path and is not copyable.
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

// A memory device context compatible with the screen, deleted with DeleteDC.
class ScopedMemoryDc {
public:
    ScopedMemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~ScopedMemoryDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    ScopedMemoryDc(const ScopedMemoryDc&) = delete;
    ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;

    HDC Get() const { return dc_; }

private:
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

// A bitmap deleted with DeleteObject unless handed on with Detach.
class ScopedDialogBitmap {
public:
    explicit ScopedDialogBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
    ~ScopedDialogBitmap() {
        if (bitmap_ != nullptr) {
            DeleteObject(bitmap_);
        }
    }
    ScopedDialogBitmap(const ScopedDialogBitmap&) = delete;
    ScopedDialogBitmap& operator=(const ScopedDialogBitmap&) = delete;

    HBITMAP Get() const { return bitmap_; }
    HBITMAP Detach() {
        HBITMAP bitmap = bitmap_;
        bitmap_ = nullptr;
        return bitmap;
    }

private:
    HBITMAP bitmap_;
};
