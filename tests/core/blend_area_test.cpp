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
// else in the output keeps its old value. The kernels' own results are their
// suite's: here the area only has to hand them the right spans.
void CheckBlend(const BlendKernels& kernels, int w, int h, int xBack, int yBack) {
    Image source(w, h, 1), background(17 + 3, 9, 2), out(w, h, 3), expected(w, h, 3);
    const unsigned level = 99;
    BlendOverBackground(source.rows, background.rows, out.rows, w, h, xBack, yBack, level, kernels);
    const BlendRange r = BlendRangeOnBackground(w, h, background.rows.width, background.rows.height, xBack, yBack);
    const int columns = r.IsEmpty() ? 0 : r.endColumn - r.firstColumn;
    // The byte-wise blend leaves a span of fewer than three pixels alone.
    const size_t length = kernels.packed || columns >= 3 ? columns * 3 : 0;
    for (int y = r.firstLine; !r.IsEmpty() && y < r.endLine; ++y) {
        kernels.blend(source.rows.Line(y) + r.firstColumn * 3,
                      background.rows.Line(yBack + y) + (xBack + r.firstColumn) * 3,
                      expected.rows.Line(y) + r.firstColumn * 3, length, level);
    }
    ASSERT_EQ(out.bytes, expected.bytes) << "w " << w << " at " << xBack << "," << yBack;
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
