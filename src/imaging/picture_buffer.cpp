#include "imaging/picture_buffer.h"

#include "base/gdi_guards.h"
#include "base/process_heap.h"
#include "base/wide_path.h"

namespace {

constexpr DWORD GIF_SIGNATURE_LENGTH = 3;
constexpr WORD TRUE_COLOR_DEPTH = 24;
constexpr WORD DEEPEST_PALETTE_DEPTH = 8;

}  // namespace

BOOL IsGifFile(const wchar_t* path) {
    ScopedFile file(OpenFileForReading(path));
    if (!file.IsOpen()) {
        return FALSE;
    }
    char start[GIF_SIGNATURE_LENGTH + 1] = {};
    DWORD got = 0;
    return ReadFile(file.Get(), start, GIF_SIGNATURE_LENGTH, &got, nullptr) && got == GIF_SIGNATURE_LENGTH &&
           lstrcmpiA(start, "GIF") == 0;
}

PictureBuffer::~PictureBuffer() { Release(); }

WORD PictureBuffer::LoadPicture(const wchar_t* path, COLORREF fillColor) {
    OlePicture picture;
    WORD type = 0;
    if (picture.LoadFile(path)) {
        type = CreateFromPicture(picture, fillColor);
    }
    if (type == 0) {
        Release();
    }
    return type;
}

WORD PictureBuffer::CreateFromPicture(const OlePicture& picture, COLORREF fillColor) {
    const SHORT type = picture.Type();
    WORD depth = TRUE_COLOR_DEPTH;
    int width = 0;
    int height = 0;
    BITMAP record = {};
    if (type == PICTYPE_BITMAP) {
        HBITMAP handle = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(picture.Handle()));
        if (GetObjectA(handle, sizeof record, &record) != sizeof record) {
            Release();
            return 0;
        }
        width = record.bmWidth;
        height = record.bmHeight;
        depth = record.bmBitsPixel;
    } else if (type == PICTYPE_ICON) {
        ICONINFO icon = {};
        if (!GetIconInfo(reinterpret_cast<HICON>(static_cast<UINT_PTR>(picture.Handle())), &icon)) {
            Release();
            return 0;
        }
        // GetIconInfo hands us copies of both bitmaps; they go with this scope.
        ScopedBitmap mask(icon.hbmMask);
        ScopedBitmap color(icon.hbmColor);
        if (color.Get() != nullptr && GetObjectA(color.Get(), sizeof record, &record) == sizeof record) {
            width = record.bmWidth;
            height = record.bmHeight;
            depth = record.bmBitsPixel;
        }
    } else {
        Release();
        return 0;
    }
    if (width <= 0 || height <= 0) {
        Release();
        return 0;
    }
    HPALETTE pictureColors = picture.Palette();
    if (pictureColors == nullptr) {
        depth = TRUE_COLOR_DEPTH;
    }
    if (!Create(width, height, depth, RGB(0, 0, 0))) {
        return 0;
    }
    if (type == PICTYPE_ICON) {
        ScopedBrush fill(CreateSolidBrush(fillColor));
        if (fill.Get() != nullptr) {
            const RECT whole = {0, 0, width, height};
            FillRect(Dc(), &whole, fill.Get());
        }
    }
    if (pictureColors != nullptr && !SetColorsFromPalette(pictureColors)) {
        Release();
        return 0;
    }
    if (!picture.Render(Dc(), 0, 0, width, height, 0, 0, picture.HimetricWidth(), picture.HimetricHeight(),
                        nullptr)) {
        Release();
        return 0;
    }
    return static_cast<WORD>(type);
}

ScreenBuffer::~ScreenBuffer() { Release(); }

BOOL ScreenBuffer::CaptureWindow(HWND window, int x, int y, int width, int height) {
    Release();
    if (width <= 0 || height <= 0) {
        return FALSE;
    }
    ScopedWindowDc source(window);
    if (source.Get() == nullptr) {
        return FALSE;
    }
    const WORD displayDepth =
        static_cast<WORD>(GetDeviceCaps(source.Get(), PLANES) * GetDeviceCaps(source.Get(), BITSPIXEL));
    const WORD depth = displayDepth <= DEEPEST_PALETTE_DEPTH ? displayDepth : TRUE_COLOR_DEPTH;
    if (!Create(width, height, depth, RGB(0, 0, 0))) {
        return FALSE;
    }
    const UINT count = ColorCount();
    if (count != 0) {
        PALETTEENTRY* entries = static_cast<PALETTEENTRY*>(HeapBlockAlloc(sizeof(PALETTEENTRY) * count));
        if (entries != nullptr) {
            ScopedHeapBlock owner(entries);
            GetSystemPaletteEntries(source.Get(), 0, count, entries);
            if (!SetColorTable(entries)) {
                Release();
                return FALSE;
            }
        }
    }
    if (!BitBlt(Dc(), 0, 0, width, height, source.Get(), x, y, SRCCOPY)) {
        Release();
        return FALSE;
    }
    return TRUE;
}
