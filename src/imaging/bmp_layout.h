// Checks of a .bmp file's contents before any of it reaches GDI, and the
// conversion of what passes into the one layout the buffers use: a 40-byte
// header, bottom-up rows, 4-byte colour table entries. No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t BMP_FILE_HEADER_SIZE = 14;
constexpr uint32_t BMP_CORE_HEADER_SIZE = 12;  // the oldest header: 16-bit sizes, 3-byte colours
constexpr uint32_t BMP_INFO_HEADER_SIZE = 40;
constexpr uint32_t BMP_MASK_BYTES = 12;       // red, green, blue channel masks

// biCompression values of the file format.
constexpr uint32_t BMP_RGB = 0;
constexpr uint32_t BMP_RLE8 = 1;
constexpr uint32_t BMP_RLE4 = 2;
constexpr uint32_t BMP_BITFIELDS = 3;

// The most pixel memory a file may ask for once decoded. A run-length stream
// of a few bytes can describe an enormous image; such a file is refused
// rather than asking for gigabytes (and no other loader is given it, as it
// would ask for them all the same).
constexpr uint64_t BMP_MAX_PIXEL_BYTES = 256u << 20;

// What CheckBmpLayout found; offsets count from the start of the block, which
// is the file from byte 14 on.
struct BmpLayout {
    int32_t width = 0;   // > 0
    int32_t height = 0;  // > 0; see topDown
    bool topDown = false;  // rows stored top line first: FlipBmpRows turns them round
    uint16_t bitCount = 0;
    uint32_t compression = BMP_RGB;
    uint32_t sizeImage = 0;  // bytes of pixel data (for run-length files, the stream)
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
    bool hasMasks = false;
    uint32_t masks[3] = {};
    uint32_t colorCount = 0;
    uint32_t colorTableOffset = 0;
    uint32_t colorEntrySize = 4;  // 3 for core headers
    uint32_t pixelOffset = 0;
    uint32_t stride = 0;  // bytes per decoded row, a multiple of 4
    bool tooLarge = false;  // set when the check failed for the decoded size alone
};

// True when the block (blockSize bytes, the file from byte 14 on, with the
// file header's bfOffBits) describes an image whose header, masks, colour
// table and pixel data all lie inside the block, with sizes that neither
// overflow nor exceed BMP_MAX_PIXEL_BYTES. Fills layout on success; on failure
// only its tooLarge tells anything: whether the decoded size was the reason.
bool CheckBmpLayout(const uint8_t* block, size_t blockSize, uint32_t offBits, BmpLayout* layout);

// Bytes of the converted format block: 40 + masks + 4 × colour count.
size_t BmpFormatSize(const BmpLayout& layout);

// Writes the converted format block (BmpFormatSize bytes) for a checked
// layout: a 40-byte header with a positive height and the file's compression,
// the masks when there are any, then the colour table with 4-byte entries.
void WriteBmpFormat(const BmpLayout& layout, const uint8_t* block, uint8_t* format);

// Reverses the order of the pixel rows of an uncompressed image in the block,
// so that a top-down file reads as a bottom-up one.
void FlipBmpRows(const BmpLayout& layout, uint8_t* block);
