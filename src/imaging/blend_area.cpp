#include "imaging/blend_area.h"

namespace {

// The byte-wise form skips spans of fewer than 3 pixels: such a span has no
// whole 8-byte step and lies entirely in spare columns.
constexpr int32_t SHORTEST_BYTEWISE_SPAN = 3;

int32_t Clamp64(int64_t v, int32_t low, int32_t high) {
    return static_cast<int32_t>(v < low ? low : (v > high ? high : v));
}

}  // namespace

BlendRange BlendRangeOnBackground(int32_t w, int32_t h, int32_t backWidth, int32_t backHeight, int32_t xBack,
                                  int32_t yBack) {
    BlendRange range;
    if (w <= 0 || h <= 0) {
        return range;
    }
    range.firstColumn = Clamp64(-static_cast<int64_t>(xBack), 0, w);
    range.endColumn = Clamp64(static_cast<int64_t>(backWidth) - xBack, 0, w);
    range.firstLine = Clamp64(-static_cast<int64_t>(yBack), 0, h);
    range.endLine = Clamp64(static_cast<int64_t>(backHeight) - yBack, 0, h);
    return range;
}

void BlendOverBackground(const PixelRows& source, const PixelRows& background, const PixelRows& out, int32_t w,
                         int32_t h, int32_t xBack, int32_t yBack, unsigned level, const BlendKernels& kernels) {
    const BlendRange range = BlendRangeOnBackground(w, h, background.width, background.height, xBack, yBack);
    if (range.IsEmpty()) {
        return;
    }
    const int32_t columns = range.endColumn - range.firstColumn;
    if (!kernels.packed && columns < SHORTEST_BYTEWISE_SPAN) {
        return;
    }
    const size_t bytes = static_cast<size_t>(columns) * BYTES_PER_PIXEL;
    const size_t pictureOffset = static_cast<size_t>(range.firstColumn) * BYTES_PER_PIXEL;
    const size_t backOffset = static_cast<size_t>(static_cast<int64_t>(xBack) + range.firstColumn) * BYTES_PER_PIXEL;
    // Lines from the bottom up: in bottom-up pixel memory that walks every
    // buffer forward, which the processor's prefetchers follow; top-down
    // walked them backwards a line at a time and ran at half the speed.
    for (int32_t y = range.endLine - 1; y >= range.firstLine; --y) {
        kernels.blend(source.Line(y) + pictureOffset, background.Line(yBack + y) + backOffset,
                      out.Line(y) + pictureOffset, bytes, level);
    }
}

void LightenArea(const PixelRows& source, const PixelRows& out, int32_t w, int32_t h, unsigned level,
                 const BlendKernels& kernels) {
    if (w <= 0 || h <= 0) {
        return;
    }
    const size_t bytes = static_cast<size_t>(w) * BYTES_PER_PIXEL;
    for (int32_t y = h - 1; y >= 0; --y) {  // forward in memory, as above
        kernels.lighten(source.Line(y), out.Line(y), bytes, level);
    }
}
