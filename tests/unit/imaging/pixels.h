// Reading and writing the pixels of 24-bit test buffers.
#pragma once

#include <windows.h>

#include "imaging/bitmap_buffer.h"
#include "support/little_endian_bytes.h"

// The first byte of the pixel at (x, y), y from the top, of a 24-bit buffer.
inline BYTE* PixelBytes(const BitmapBuffer& buffer, int x, int y) {
    GdiFlush();
    const DWORD stride = buffer.ImageSize() / static_cast<DWORD>(buffer.Height());
    return buffer.Bits() + static_cast<size_t>(buffer.Height() - 1 - y) * stride + 3 * x;
}

// The pixel as 0x00BBGGRR.
inline COLORREF PixelAt(const BitmapBuffer& buffer, int x, int y) {
    const BYTE* p = PixelBytes(buffer, x, y);
    return RGB(p[2], p[1], p[0]);
}

inline void SetPixelAt(BitmapBuffer& buffer, int x, int y, COLORREF color) {
    BYTE* p = PixelBytes(buffer, x, y);
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
}
