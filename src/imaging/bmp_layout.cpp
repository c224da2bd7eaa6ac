#include "imaging/bmp_layout.h"

#include <cstring>

namespace {

constexpr uint32_t BMP_V2_HEADER_SIZE = 52;  // the first header with the masks inside it
constexpr uint32_t BMP_V3_HEADER_SIZE = 56;
constexpr uint32_t BMP_V4_HEADER_SIZE = 108;
constexpr uint32_t BMP_V5_HEADER_SIZE = 124;
constexpr uint32_t MAX_COLOR_TABLE_ENTRIES = 256;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

bool DepthFitsCompression(uint16_t bitCount, uint32_t compression) {
    switch (compression) {
    case BMP_RGB:
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
               bitCount == 32;
    case BMP_RLE8:
        return bitCount == 8;
    case BMP_RLE4:
        return bitCount == 4;
    case BMP_BITFIELDS:
        return bitCount == 16 || bitCount == 32;
    default:
        return false;  // JPEG and PNG payloads, and anything unknown
    }
}

// Reads the 12-byte core header. Its sizes are unsigned 16-bit values, so a
// core image is never top-down.
bool ReadCoreHeader(const uint8_t* block, BmpLayout* layout) {
    layout->width = Get16(block + 4);
    layout->height = Get16(block + 6);
    layout->bitCount = Get16(block + 10);
    layout->compression = BMP_RGB;
    if (layout->bitCount != 1 && layout->bitCount != 4 && layout->bitCount != 8 && layout->bitCount != 24) {
        return false;
    }
    layout->colorCount = layout->bitCount <= 8 ? 1u << layout->bitCount : 0;
    layout->colorTableOffset = BMP_CORE_HEADER_SIZE;
    layout->colorEntrySize = 3;
    return true;
}

bool ReadInfoHeader(const uint8_t* block, size_t blockSize, uint32_t headerSize, BmpLayout* layout) {
    const int32_t width = static_cast<int32_t>(Get32(block + 4));
    const int32_t height = static_cast<int32_t>(Get32(block + 8));
    if (height == INT32_MIN) {
        return false;
    }
    layout->width = width;
    layout->topDown = height < 0;
    layout->height = height < 0 ? -height : height;
    layout->bitCount = Get16(block + 14);
    layout->compression = Get32(block + 16);
    layout->sizeImage = Get32(block + 20);
    layout->xPelsPerMeter = static_cast<int32_t>(Get32(block + 24));
    layout->yPelsPerMeter = static_cast<int32_t>(Get32(block + 28));
    layout->clrUsed = Get32(block + 32);
    layout->clrImportant = Get32(block + 36);
    if (!DepthFitsCompression(layout->bitCount, layout->compression)) {
        return false;
    }
    // Run-length rows are decoded bottom-up only; a top-down stream is invalid.
    if (layout->topDown && (layout->compression == BMP_RLE8 || layout->compression == BMP_RLE4)) {
        return false;
    }

    uint32_t tableOffset = headerSize;
    if (layout->compression == BMP_BITFIELDS) {
        // From the 52-byte header on the masks are header fields; after a
        // 40-byte header they follow it.
        uint32_t maskOffset = BMP_INFO_HEADER_SIZE;
        if (headerSize == BMP_INFO_HEADER_SIZE) {
            if (blockSize < BMP_INFO_HEADER_SIZE + BMP_MASK_BYTES) {
                return false;
            }
            tableOffset = BMP_INFO_HEADER_SIZE + BMP_MASK_BYTES;
        }
        layout->hasMasks = true;
        for (int i = 0; i < 3; ++i) {
            layout->masks[i] = Get32(block + maskOffset + 4 * i);
        }
    }

    if (layout->clrUsed > MAX_COLOR_TABLE_ENTRIES ||
        (layout->bitCount <= 8 && layout->clrUsed > (1u << layout->bitCount))) {
        return false;
    }
    if (layout->clrUsed != 0) {
        layout->colorCount = layout->clrUsed;
    } else {
        layout->colorCount = layout->bitCount <= 8 ? 1u << layout->bitCount : 0;
    }
    layout->colorTableOffset = tableOffset;
    layout->colorEntrySize = 4;
    return true;
}

}  // namespace

bool CheckBmpLayout(const uint8_t* block, size_t blockSize, uint32_t offBits, BmpLayout* layout) {
    *layout = BmpLayout();
    if (block == nullptr || blockSize < 4) {
        return false;
    }
    const uint32_t headerSize = Get32(block);
    const bool core = headerSize == BMP_CORE_HEADER_SIZE;
    if (!core && headerSize != BMP_INFO_HEADER_SIZE && headerSize != BMP_V2_HEADER_SIZE &&
        headerSize != BMP_V3_HEADER_SIZE && headerSize != BMP_V4_HEADER_SIZE && headerSize != BMP_V5_HEADER_SIZE) {
        return false;
    }
    if (blockSize < headerSize) {
        return false;
    }
    if (core ? !ReadCoreHeader(block, layout) : !ReadInfoHeader(block, blockSize, headerSize, layout)) {
        return false;
    }
    if (layout->width <= 0 || layout->height <= 0) {
        return false;
    }

    const uint64_t tableEnd = static_cast<uint64_t>(layout->colorTableOffset) +
                              static_cast<uint64_t>(layout->colorCount) * layout->colorEntrySize;
    if (tableEnd > blockSize) {
        return false;
    }

    const uint64_t stride = (static_cast<uint64_t>(layout->bitCount) * static_cast<uint64_t>(layout->width) + 31) / 32 * 4;
    const uint64_t decodedBytes = stride * static_cast<uint64_t>(layout->height);
    if (decodedBytes > BMP_MAX_PIXEL_BYTES) {
        layout->tooLarge = true;
        return false;
    }
    layout->stride = static_cast<uint32_t>(stride);

    if (offBits < BMP_FILE_HEADER_SIZE || offBits - BMP_FILE_HEADER_SIZE >= blockSize) {
        return false;
    }
    layout->pixelOffset = offBits - BMP_FILE_HEADER_SIZE;
    const uint64_t available = blockSize - layout->pixelOffset;
    if (layout->compression == BMP_RLE8 || layout->compression == BMP_RLE4) {
        // The decoder is told the stream's length and reads no further, so the
        // stream must lie wholly inside the block. A zero length (allowed by
        // the format) means everything up to the end of the file.
        if (layout->sizeImage == 0) {
            layout->sizeImage = static_cast<uint32_t>(available);
        }
        if (layout->sizeImage > available) {
            return false;
        }
    } else {
        if (decodedBytes > available) {
            return false;
        }
        layout->sizeImage = static_cast<uint32_t>(decodedBytes);
    }
    return true;
}

size_t BmpFormatSize(const BmpLayout& layout) {
    return BMP_INFO_HEADER_SIZE + (layout.hasMasks ? BMP_MASK_BYTES : 0) + 4 * static_cast<size_t>(layout.colorCount);
}

void WriteBmpFormat(const BmpLayout& layout, const uint8_t* block, uint8_t* format) {
    std::memset(format, 0, BmpFormatSize(layout));
    Put32(format + 0, BMP_INFO_HEADER_SIZE);
    Put32(format + 4, static_cast<uint32_t>(layout.width));
    Put32(format + 8, static_cast<uint32_t>(layout.height));
    Put16(format + 12, 1);
    Put16(format + 14, layout.bitCount);
    Put32(format + 16, layout.compression);
    Put32(format + 20, layout.sizeImage);
    Put32(format + 24, static_cast<uint32_t>(layout.xPelsPerMeter));
    Put32(format + 28, static_cast<uint32_t>(layout.yPelsPerMeter));
    Put32(format + 32, layout.clrUsed);
    Put32(format + 36, layout.clrImportant);
    uint8_t* table = format + BMP_INFO_HEADER_SIZE;
    if (layout.hasMasks) {
        for (int i = 0; i < 3; ++i) {
            Put32(table + 4 * i, layout.masks[i]);
        }
        table += BMP_MASK_BYTES;
    }
    const uint8_t* entry = block + layout.colorTableOffset;
    for (uint32_t i = 0; i < layout.colorCount; ++i, entry += layout.colorEntrySize) {
        table[4 * i + 0] = entry[0];  // blue
        table[4 * i + 1] = entry[1];  // green
        table[4 * i + 2] = entry[2];  // red
    }
}

void FlipBmpRows(const BmpLayout& layout, uint8_t* block) {
    uint8_t* top = block + layout.pixelOffset;
    uint8_t* bottom = top + static_cast<size_t>(layout.height - 1) * layout.stride;
    uint8_t chunk[256];
    for (; top < bottom; top += layout.stride, bottom -= layout.stride) {
        for (uint32_t done = 0; done < layout.stride; done += sizeof chunk) {
            const uint32_t n = layout.stride - done < sizeof chunk ? layout.stride - done : sizeof chunk;
            std::memcpy(chunk, top + done, n);
            std::memcpy(top + done, bottom + done, n);
            std::memcpy(bottom + done, chunk, n);
        }
    }
}
