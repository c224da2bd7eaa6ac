// Scoped owners for the temporary GDI and kernel objects a function makes and
// must release on every path. Not copyable; Detach hands the object on.
#pragma once

#include <windows.h>

#include "base/process_heap.h"

// A GDI object (brush, bitmap, palette, region) deleted with DeleteObject.
template <typename T>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(T object = nullptr) : object_(object) {}
    ~ScopedGdiObject() {
        if (object_ != nullptr) {
            DeleteObject(object_);
        }
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    T Get() const { return object_; }
    T Detach() {
        T object = object_;
        object_ = nullptr;
        return object;
    }

private:
    T object_;
};

using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPalette = ScopedGdiObject<HPALETTE>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;

// A device context made with CreateDC or CreateCompatibleDC, deleted with DeleteDC.
class ScopedCreatedDc {
public:
    explicit ScopedCreatedDc(HDC dc) : dc_(dc) {}
    ~ScopedCreatedDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    ScopedCreatedDc(const ScopedCreatedDc&) = delete;
    ScopedCreatedDc& operator=(const ScopedCreatedDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A window's device context from GetWindowDC, given back with ReleaseDC.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// SaveDC on entry, RestoreDC(-1) on exit: every attribute a draw changes
// (palette, stretch mode) goes back to what the caller had.
class ScopedSavedDc {
public:
    explicit ScopedSavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~ScopedSavedDc() {
        if (saved_ != 0) {
            RestoreDC(dc_, -1);
        }
    }
    ScopedSavedDc(const ScopedSavedDc&) = delete;
    ScopedSavedDc& operator=(const ScopedSavedDc&) = delete;

    bool Saved() const { return saved_ != 0; }

private:
    HDC dc_;
    int saved_;
};

// A kernel file handle, closed with CloseHandle.
class ScopedFile {
public:
    explicit ScopedFile(HANDLE file) : file_(file) {}
    ~ScopedFile() {
        if (file_ != INVALID_HANDLE_VALUE) {
            CloseHandle(file_);
        }
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;

    HANDLE Get() const { return file_; }
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
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
