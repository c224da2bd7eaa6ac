// Little-endian fields appended to a byte string, for files written by hand.
// No platform header: the native core tests use it too.
#pragma once

#include <cstddef>
#include <string>

class Bytes {
public:
    Bytes& U8(unsigned v) {
        text.push_back(static_cast<char>(v));
        return *this;
    }
    Bytes& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    Bytes& U32(unsigned long v) { return U16(v & 0xFFFF).U16((v >> 16) & 0xFFFF); }
    Bytes& Fill(size_t count, unsigned v) {
        text.append(count, static_cast<char>(v));
        return *this;
    }
    // A 40-byte (or longer) info header.
    Bytes& Info(long width, long height, unsigned bits, unsigned long compression, unsigned long sizeImage = 0,
                unsigned long clrUsed = 0, unsigned long headerSize = 40) {
        U32(headerSize).U32(static_cast<unsigned long>(width)).U32(static_cast<unsigned long>(height)).U16(1).U16(bits);
        return U32(compression).U32(sizeImage).U32(0).U32(0).U32(clrUsed).U32(0).Fill(headerSize - 40, 0);
    }
    std::string text;
};

// "BM", the size, and the pixel offset in front of the rest of a file.
inline std::string BmpFileBytes(const std::string& afterFileHeader, unsigned long offBits) {
    return Bytes().U8('B').U8('M').U32(14 + afterFileHeader.size()).U32(0).U32(offBits).text + afterFileHeader;
}
