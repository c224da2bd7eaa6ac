// The one in-memory image type: a DIB section selected into a memory DC, the
// format block that describes it and, for images with a colour table, a
// logical palette. Rows are bottom-up; the stride is ImageSize() / Height().
#pragma once

#include <windows.h>

#include "imaging/exif_orientation.h"

// The colour table length of a header: biClrUsed (its low 16 bits) when
// nonzero, else 2, 16 or 256 for 1, 4 and 8 bits, else 0. A null header gives
// 0 with ERROR_INVALID_PARAMETER.
UINT ColorCountOf(const BITMAPINFOHEADER* header);

class BitmapBuffer {
public:
    BitmapBuffer() = default;
    BitmapBuffer(const BitmapBuffer&) = delete;
    BitmapBuffer& operator=(const BitmapBuffer&) = delete;
    virtual ~BitmapBuffer();

    // A new image of that size and depth (16 and 32 bits with channel masks,
    // 1, 4 and 8 bits with a black/white, default or halftone colour table),
    // filled with fillColor.
    BOOL Create(int width, int height, WORD bitCount, COLORREF fillColor);
    // A new image in the source's format (header, masks, colour table; a
    // longer header is read as its first 40 bytes), filled with fillColor.
    // Sizes must be positive, and the pixel block must fit in 2 GiB.
    BOOL CreateFromInfo(const BITMAPINFO* source, COLORREF fillColor);
    // Reads a .bmp file, converting 12-byte headers and top-down rows to the
    // buffer's layout. Files whose parts do not lie inside what was read are
    // refused with ERROR_INVALID_DATA; files too large to decode, with
    // ERROR_NOT_ENOUGH_MEMORY.
    BOOL LoadBmpFile(const wchar_t* path);
    // Frees every object; always TRUE.
    BOOL Release();
    // Releases this object and takes over other's image, leaving other empty.
    void TakeFrom(BitmapBuffer& other);

    // Becomes a copy of source resized by scale (truncating), keeping its
    // depth, masks and colour table. An empty source empties this object.
    BOOL AssignScaled(const BitmapBuffer& source, double scale);
    // Resizes by scale (truncating). Shrinking averages the source area each
    // pixel covers and gives 24 bits; enlarging (or a shrink too large for
    // that) stretches as AssignScaled does.
    BOOL Scale(double scale);

    // Becomes a 24-bit image of width x height (each side at least 1 and at
    // most the source's) whose every pixel is the mean of the source area it
    // covers. Source may be this object. FALSE (ERROR_INVALID_PARAMETER for
    // sizes it cannot shrink to) leaves this object as it was.
    BOOL AssignShrunk(const BitmapBuffer& source, int width, int height);
    // Turns or mirrors the image as an EXIF orientation prescribes (a photo
    // taken with the camera on its side comes out upright); the result has
    // 24 bits. FALSE leaves the image as it was.
    BOOL Turn(ExifOrientation orientation);

    // Adds the offsets to every colour, clamped to 0..255: to the colour
    // table of an image of 8 bits or fewer, else to the pixels (leaving the
    // table a deeper image may carry as it is).
    BOOL AdjustColors(int redDelta, int greenDelta, int blueDelta);
    BOOL AdjustBrightness(int delta) { return AdjustColors(delta, delta, delta); }

    // Replaces the colour table with ColorCount() entries.
    BOOL SetColorTable(const PALETTEENTRY* entries);
    BOOL SetColorsFromPalette(HPALETTE source);
    BOOL RebuildPalette();
    // Selects and realizes the palette in dc as a foreground palette; returns
    // the palette dc had, or NULL when this image has none.
    HPALETTE SelectPaletteInto(HDC target) const;

    // Stretch-copies (COLORONCOLOR) a rectangle of this image into target.
    BOOL Draw(HDC target, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
              DWORD rop) const;
    // The whole image at (0, 0) of target, its size times scale (truncating).
    BOOL DrawScaled(HDC target, double scale, DWORD rop) const;

    // This object becomes a mask of the source's size and bitCount: pixels of
    // exactly transparentColor white, the others black (the other way round
    // with invert).
    BOOL CreateColorKeyMask(const BitmapBuffer& source, COLORREF transparentColor, WORD bitCount, BOOL invert);
    // The region of the pixels not of transparentColor: one rectangle per
    // horizontal run, lines top to bottom, runs left to right, in the image's
    // own coordinates. The caller owns the region.
    HRGN CreateOpaqueRegion(COLORREF transparentColor) const;

    int Width() const { return info != nullptr ? info->bmiHeader.biWidth : 0; }
    int Height() const { return info != nullptr ? info->bmiHeader.biHeight : 0; }
    WORD BitCount() const { return info != nullptr ? info->bmiHeader.biBitCount : 0; }
    DWORD ImageSize() const { return info != nullptr ? info->bmiHeader.biSizeImage : 0; }
    // Bytes from one pixel row to the next.
    DWORD Stride() const { return Height() > 0 ? ImageSize() / static_cast<DWORD>(Height()) : 0; }
    UINT ColorCount() const { return ColorCountOf(info != nullptr ? &info->bmiHeader : nullptr); }
    const BITMAPINFO* Info() const { return info; }
    HDC Dc() const { return dc; }
    BYTE* Bits() const { return bits; }
    HPALETTE Palette() const { return palette; }

private:
    // Releases everything and reports failure; error, when given, becomes the
    // last error (otherwise the failed call's own stays).
    BOOL Fail(DWORD error = ERROR_SUCCESS);
    // Frees the GDI objects and brings the format block to newSize bytes
    // (0 frees it), zero-filling any growth.
    BOOL ResizeInfo(size_t newSize);
    RGBQUAD* ColorTable() const;

    BITMAPINFO* info = nullptr;  // process-heap block: header, masks, colour table
    BYTE* bits = nullptr;        // pixel memory of the DIB section
    HDC dc = nullptr;            // memory DC holding the DIB section
    HBITMAP bitmap = nullptr;    // while dc exists: the bitmap dc held before
    HPALETTE palette = nullptr;  // from the colour table; NULL without one
};
