// Arbitrary bytes as a .bmp file: the layout checks must never read outside
// the block, and whatever they accept must really lie inside it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/bmp_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < BMP_FILE_HEADER_SIZE) {
        return 0;
    }
    uint32_t offBits = 0;
    std::memcpy(&offBits, data + 10, sizeof offBits);
    // An exactly sized copy: any read past the block is a sanitizer report.
    std::vector<uint8_t> block(data + BMP_FILE_HEADER_SIZE, data + size);
    BmpLayout layout;
    if (!CheckBmpLayout(block.data(), block.size(), offBits, &layout)) {
        return 0;
    }
    const uint64_t stride = (static_cast<uint64_t>(layout.bitCount) * layout.width + 31) / 32 * 4;
    if (layout.width <= 0 || layout.height <= 0 || stride != layout.stride ||
        stride * layout.height > BMP_MAX_PIXEL_BYTES ||
        static_cast<uint64_t>(layout.pixelOffset) + layout.sizeImage > block.size() ||
        static_cast<uint64_t>(layout.colorTableOffset) + static_cast<uint64_t>(layout.colorCount) * layout.colorEntrySize >
            block.size()) {
        std::abort();
    }
    std::vector<uint8_t> format(BmpFormatSize(layout));
    WriteBmpFormat(layout, block.data(), format.data());
    if (layout.topDown) {
        FlipBmpRows(layout, block.data());
    }
    return 0;
}
