#include "imaging/blend_area.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <tuple>
#include <vector>

namespace {

TEST(BlendRange, KeepsOnlyThePartOnTheBackground) {
    // A 13 x 10 picture over a 103 x 50 background.
    const struct {
        int32_t xBack, yBack, firstColumn, endColumn, firstLine, endLine;
    } cases[] = {
        {50, 20, 0, 13, 0, 10},   // fully inside
        {-10, 45, 10, 13, 0, 5},  // ten columns left of it, past its bottom edge
        {95, -3, 0, 8, 3, 10},    // past its right edge, three lines above it
    };
    for (const auto& c : cases) {
        const BlendRange r = BlendRangeOnBackground(13, 10, 103, 50, c.xBack, c.yBack);
        EXPECT_EQ(std::make_tuple(r.firstColumn, r.endColumn, r.firstLine, r.endLine),
                  std::make_tuple(c.firstColumn, c.endColumn, c.firstLine, c.endLine))
            << c.xBack << "," << c.yBack;
    }
    // Nowhere near, and at the extremes of int.
    EXPECT_TRUE(BlendRangeOnBackground(13, 10, 103, 50, 200, 0).IsEmpty());
    EXPECT_TRUE(BlendRangeOnBackground(13, 10, 103, 50, 0, -10).IsEmpty());
    EXPECT_TRUE(BlendRangeOnBackground(13, 10, 103, 50, INT_MIN, INT_MIN).IsEmpty());
    EXPECT_TRUE(BlendRangeOnBackground(13, 10, 103, 50, INT_MAX, INT_MAX).IsEmpty());
    EXPECT_TRUE(BlendRangeOnBackground(0, 10, 103, 50, 0, 0).IsEmpty());
    EXPECT_TRUE(BlendRangeOnBackground(13, 10, INT_MIN, 50, 0, 0).IsEmpty());
}

// A bottom-up 24-bit block in an exactly sized heap vector.
struct Image {
    Image(int width, int height, uint8_t seed) : bytes((width * 3 + 3) / 4 * 4 * static_cast<size_t>(height)) {
        for (size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<uint8_t>(i * 7 + seed);
        }
        rows = {bytes.data(), width, height, bytes.size() / height};
    }
    std::vector<uint8_t> bytes;
    PixelRows rows;
};

// The picture's pixel (c, y) must be blended with background (xBack + c,
// yBack + y) exactly where both exist and the kernel covers it; everything
// else in the output keeps its old value.
void CheckBlend(const BlendKernels& kernels, int w, int h, int xBack, int yBack) {
    Image source(w, h, 1), background(17 + 3, 9, 2), out(w, h, 3);
    const std::vector<uint8_t> before = out.bytes;
    const unsigned level = 99;
    BlendOverBackground(source.rows, background.rows, out.rows, w, h, xBack, yBack, level, kernels);
    const BlendRange range = BlendRangeOnBackground(w, h, background.rows.width, background.rows.height, xBack, yBack);
    const int columns = range.IsEmpty() ? 0 : range.endColumn - range.firstColumn;
    const int blendedBytes = kernels.packed ? columns * 3 / 8 * 8 : (columns >= 3 ? columns * 3 : 0);
    for (int y = 0; y < h; ++y) {
        for (int byte = 0; byte < static_cast<int>(out.rows.stride); ++byte) {
            const size_t at = static_cast<size_t>(h - 1 - y) * out.rows.stride + byte;
            const int rel = byte - range.firstColumn * 3;
            const bool blended = !range.IsEmpty() && y >= range.firstLine && y < range.endLine && rel >= 0 &&
                                 rel < blendedBytes;
            if (!blended) {
                ASSERT_EQ(out.bytes[at], before[at]) << "w " << w << " x " << xBack << " y " << y << " byte " << byte;
                continue;
            }
            const int p = source.rows.Line(y)[byte];
            const int b = background.rows.Line(yBack + y)[(xBack + range.firstColumn) * 3 + rel];
            const int product = (b - p) * static_cast<int>(level);
            const int want = kernels.packed ? p + (product >= 0 ? product / 256 : -((-product + 255) / 256))
                                            : p + product / 255;
            ASSERT_EQ(out.bytes[at], want) << "w " << w << " x " << xBack << " y " << y << " byte " << byte;
        }
    }
}

TEST(BlendArea, SpansCutAtEveryEdgeBlendOnlyWhatLiesOnTheBackground) {
    for (BlendKernelSet set : {BlendKernelSet::kBytewise, BlendKernelSet::kPackedScalar}) {
        const BlendKernels kernels = BlendKernelsFor(set);
        for (int w = 1 + 3; w <= 12 + 3; ++w) {
            for (int xBack = -w - 1; xBack <= 21; ++xBack) {
                for (int yBack : {-6, -1, 0, 3, 8, 9}) {
                    CheckBlend(kernels, w, 5, xBack, yBack);
                }
            }
        }
    }
}

}  // namespace
