// Owner of one picture decoded by the platform's OLE picture service.
#pragma once

#include <windows.h>

#include <olectl.h>

class OlePicture {
public:
    OlePicture() = default;
    OlePicture(const OlePicture&) = delete;
    OlePicture& operator=(const OlePicture&) = delete;
    virtual ~OlePicture();

    // Decodes the whole file. A file that cannot be read completely fails.
    BOOL LoadFile(const wchar_t* path);
    void ReleasePicture();

    // Draws the source rectangle (HIMETRIC, y from the top) into the
    // destination rectangle (device units) upright, with the picture's
    // palette selected meanwhile.
    BOOL Render(HDC dc, int x, int y, int cx, int cy, long xSrc, long ySrc, long cxSrc, long cySrc,
                const RECT* bounds) const;
    // Selects and realizes the picture's palette; returns the previous one,
    // or NULL when there is no picture or palette.
    HPALETTE SelectPaletteInto(HDC dc) const;

    // The picture's properties; 0 when there is no picture.
    SHORT Type() const;
    OLE_HANDLE Handle() const;
    HPALETTE Palette() const;
    long HimetricWidth() const;
    long HimetricHeight() const;

private:
    IPicture* picture = nullptr;  // owned: released with its Release
};
