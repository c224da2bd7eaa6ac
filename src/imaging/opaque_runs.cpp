#include "imaging/opaque_runs.h"

#include <cstring>

namespace {

constexpr uint32_t kPixelMask = 0x00FFFFFF;

// The pixel at p as 0x00RRGGBB from a 4-byte load; the fourth byte (the next
// pixel's, or row padding) is masked off. Never used on a line's last pixel,
// whose fourth byte may lie past the end of the buffer.
inline uint32_t PixelWithSlack(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    v = __builtin_bswap32(v);
#endif
    return v & kPixelMask;
}

inline uint32_t PixelExact(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

}  // namespace

size_t ScanOpaqueRunsInLine(const uint8_t* line, int32_t width, uint32_t keyColor, int32_t y, RunRect* out) {
    if (width <= 0) {
        return 0;
    }
    // keyColor is red-first; the bytes in memory are blue, green, red.
    const uint32_t key = ((keyColor & 0xFF) << 16) | (keyColor & 0xFF00) | ((keyColor >> 16) & 0xFF);
    const int32_t last = width - 1;
    const bool lastIsKey = PixelExact(line + static_cast<size_t>(last) * 3) == key;
    size_t count = 0;
    int32_t x = 0;
    while (x < last) {
        // Skip transparent pixels, then take the run of opaque ones.
        while (x < last && PixelWithSlack(line + static_cast<size_t>(x) * 3) == key) {
            ++x;
        }
        if (x >= last) {
            break;
        }
        const int32_t start = x;
        while (x < last && PixelWithSlack(line + static_cast<size_t>(x) * 3) != key) {
            ++x;
        }
        if (x == last && !lastIsKey) {
            x = width;
        }
        out[count++] = RunRect{start, y, x, y + 1};
    }
    if (x == last && !lastIsKey) {
        out[count++] = RunRect{last, y, width, y + 1};
    }
    return count;
}
