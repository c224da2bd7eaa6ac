// Reading and writing the pixels of 24-bit test buffers.
#pragma once

#include <windows.h>

#include <string>

#include "imaging/bitmap_buffer.h"

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

// Little-endian fields appended to a byte string, for files written by hand.
class Bytes {
public:
    Bytes& U8(unsigned v) {
        text.push_back(static_cast<char>(v));
        return *this;
    }
    Bytes& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    Bytes& U32(unsigned long v) { return U16(v & 0xFFFF).U16((v >> 16) & 0xFFFF); }
    // A 40-byte (or longer) info header.
    Bytes& Info(long width, long height, unsigned bits, unsigned long compression, unsigned long sizeImage = 0,
                unsigned long clrUsed = 0, unsigned long headerSize = 40) {
        U32(headerSize).U32(static_cast<unsigned long>(width)).U32(static_cast<unsigned long>(height)).U16(1).U16(bits);
        U32(compression).U32(sizeImage).U32(0).U32(0).U32(clrUsed).U32(0);
        text.append(headerSize - 40, '\0');
        return *this;
    }
    std::string text;
};

// "BM", the size, and the pixel offset in front of the rest of a file.
inline std::string BmpFileBytes(const std::string& afterFileHeader, unsigned long offBits) {
    Bytes head;
    head.U8('B').U8('M').U32(14 + afterFileHeader.size()).U16(0).U16(0).U32(offBits);
    return head.text + afterFileHeader;
}
