#include "imaging/opaque_runs.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>

#include "imaging/cpu_features.h"
#define GLEAMO_BLOCK_SEARCH 1
#endif

namespace {

constexpr uint32_t PIXEL_MASK = 0x00FFFFFF;

inline uint32_t PixelWithSlack(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    v = __builtin_bswap32(v);
#endif
    return v & PIXEL_MASK;
}

inline uint32_t PixelExact(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

// Pixels are looked at 16 at a time (48 bytes, three vectors) where the
// processor can: long opaque stretches, the common case of a photograph, then
// cost a few instructions per 16 pixels instead of a compare per pixel.
constexpr int32_t BLOCK_PIXELS = 16;
constexpr int32_t BLOCK_BYTES = 3 * BLOCK_PIXELS;
// Bit 3i of a block's byte-match mask stands for pixel i.
constexpr uint64_t PIXEL_BITS = 0x249249249249ULL;

// The transparent colour's bytes (blue, green, red) repeated over one block.
struct TransparentPattern {
    uint8_t bytes[BLOCK_BYTES];
};

TransparentPattern PatternOf(uint32_t transparent) {
    TransparentPattern pattern;
    for (int32_t i = 0; i < BLOCK_BYTES; i += 3) {
        pattern.bytes[i] = static_cast<uint8_t>(transparent);
        pattern.bytes[i + 1] = static_cast<uint8_t>(transparent >> 8);
        pattern.bytes[i + 2] = static_cast<uint8_t>(transparent >> 16);
    }
    return pattern;
}

#if defined(GLEAMO_BLOCK_SEARCH)
// Bit 3i set when pixel i of the block at p has the transparent colour: the byte
// matches of its three bytes, folded onto its first bit.
__attribute__((target("sse2"))) uint64_t TransparentPixelBits(const uint8_t* p, const TransparentPattern& pattern) {
    uint64_t matches = 0;
    for (int part = 0; part < 3; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        const __m128i wanted = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern.bytes + 16 * part));
        matches |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted))))
                   << (16 * part);
    }
    return matches & (matches >> 1) & (matches >> 2) & PIXEL_BITS;
}

bool CanSearchBlocks() {
    static const bool sse2 = CpuHasSse2();
    return sse2;
}
#else
uint64_t TransparentPixelBits(const uint8_t*, const TransparentPattern&) {
    return 0;
}

bool CanSearchBlocks() {
    return false;
}
#endif

// The first pixel from x up to (not including) end whose transparency equals
// wantTransparent; end when there is none. Blocks are used only where all 48
// bytes lie before pixel end.
int32_t NextPixel(const uint8_t* line, int32_t x, int32_t end, uint32_t transparent,
                  const TransparentPattern& pattern, bool blocks, bool wantTransparent) {
    while (x < end) {
        if (blocks && x + BLOCK_PIXELS <= end) {
            const uint64_t transparentBits = TransparentPixelBits(line + static_cast<size_t>(x) * 3, pattern);
            const uint64_t wanted = wantTransparent ? transparentBits : (~transparentBits & PIXEL_BITS);
            if (wanted != 0) {
                return x + __builtin_ctzll(wanted) / 3;
            }
            x += BLOCK_PIXELS;
            continue;
        }
        if ((PixelWithSlack(line + static_cast<size_t>(x) * 3) == transparent) == wantTransparent) {
            return x;
        }
        ++x;
    }
    return end;
}

}  // namespace

size_t ScanOpaqueRunsInLine(const uint8_t* line, int32_t width, uint32_t transparentColor, int32_t y, RunRect* out) {
    if (width <= 0) {
        return 0;
    }
    const uint32_t transparent =
        ((transparentColor & 0xFF) << 16) | (transparentColor & 0xFF00) | ((transparentColor >> 16) & 0xFF);
    const TransparentPattern pattern = PatternOf(transparent);
    const bool blocks = CanSearchBlocks();
    // The last pixel is read exactly; the others with a 4-byte load that takes
    // one byte of the next pixel along.
    const int32_t last = width - 1;
    const bool lastIsTransparent = PixelExact(line + static_cast<size_t>(last) * 3) == transparent;
    size_t count = 0;
    int32_t x = 0;
    while (x < last) {
        x = NextPixel(line, x, last, transparent, pattern, blocks, false);
        if (x >= last) {
            break;
        }
        const int32_t start = x;
        x = NextPixel(line, x, last, transparent, pattern, blocks, true);
        if (x == last && !lastIsTransparent) {
            x = width;
        }
        out[count++] = RunRect{start, y, x, y + 1};
    }
    if (x == last && !lastIsTransparent) {
        out[count++] = RunRect{last, y, width, y + 1};
    }
    return count;
}
