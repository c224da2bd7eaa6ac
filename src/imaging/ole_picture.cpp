#include "imaging/ole_picture.h"

#include <ole2.h>

#include "base/gdi_guards.h"
#include "base/wide_path.h"

OlePicture::~OlePicture() { ReleasePicture(); }

void OlePicture::ReleasePicture() {
    if (picture != nullptr) {
        picture->Release();
        picture = nullptr;
    }
}

BOOL OlePicture::LoadFile(const wchar_t* path) {
    ReleasePicture();
    if (path == nullptr) {
        return FALSE;
    }
    ScopedFile file(OpenFileForReading(path));
    if (!file.IsOpen()) {
        return FALSE;
    }
    const DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size == 0) {
        return FALSE;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return FALSE;
    }
    void* locked = GlobalLock(memory);
    DWORD got = 0;
    const BOOL read = locked != nullptr && ReadFile(file.Get(), locked, size, &got, nullptr);
    if (locked != nullptr) {
        GlobalUnlock(memory);
    }
    if (!read || got != size) {
        GlobalFree(memory);
        return FALSE;
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return FALSE;
    }
    // The stream owns the memory from here on and frees it on release.
    const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(GlobalSize(memory)), FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(&picture));
    stream->Release();
    if (loaded != S_OK) {
        ReleasePicture();
        return FALSE;
    }
    return TRUE;
}

HPALETTE OlePicture::SelectPaletteInto(HDC dc) const {
    if (picture == nullptr) {
        return nullptr;
    }
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_hPal(&handle)) || handle == 0) {
        return nullptr;
    }
    HPALETTE previous = SelectPalette(dc, reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(handle)), FALSE);
    RealizePalette(dc);
    return previous;
}

BOOL OlePicture::Render(HDC dc, int x, int y, int cx, int cy, long xSrc, long ySrc, long cxSrc, long cySrc,
                        const RECT* bounds) const {
    if (picture == nullptr) {
        return FALSE;
    }
    HPALETTE previous = SelectPaletteInto(dc);
    // The HIMETRIC y axis runs upward: starting at the far edge with a
    // negative height draws the picture upright.
    const HRESULT result =
        picture->Render(dc, x, y, cx, cy, xSrc, HimetricHeight() - ySrc, cxSrc, -cySrc, bounds);
    if (previous != nullptr) {
        SelectPalette(dc, previous, FALSE);
    }
    return result == S_OK;
}

SHORT OlePicture::Type() const {
    SHORT type = 0;
    if (picture != nullptr) {
        picture->get_Type(&type);
    }
    return type;
}

OLE_HANDLE OlePicture::Handle() const {
    OLE_HANDLE handle = 0;
    if (picture != nullptr) {
        picture->get_Handle(&handle);
    }
    return handle;
}

HPALETTE OlePicture::Palette() const {
    OLE_HANDLE handle = 0;
    if (picture != nullptr) {
        picture->get_hPal(&handle);
    }
    return reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(handle));
}

long OlePicture::HimetricWidth() const {
    OLE_XSIZE_HIMETRIC width = 0;
    if (picture != nullptr) {
        picture->get_Width(&width);
    }
    return width;
}

long OlePicture::HimetricHeight() const {
    OLE_YSIZE_HIMETRIC height = 0;
    if (picture != nullptr) {
        picture->get_Height(&height);
    }
    return height;
}
