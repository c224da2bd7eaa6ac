// The slide layer's blend over whole pixel rows: which part of the picture
// lies on the background, and the row loop that runs the span kernels over it.
// No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/blend_kernels.h"

// A 24-bit pixel block as a DIB section holds it: rows bottom-up, so image
// line y (from the top) is memory row height - 1 - y, each stride bytes long.
struct PixelRows {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    size_t stride = 0;

    uint8_t* Line(int32_t y) const { return bits + static_cast<size_t>(height - 1 - y) * stride; }
};

constexpr int BYTES_PER_PIXEL = 3;

// The part of a w x h drawn area, placed at (xBack, yBack) on a background of
// backWidth x backHeight, that lies on the background: columns
// [firstColumn, endColumn) and lines [firstLine, endLine) of the drawn area.
// Empty (first >= end) when they do not meet. No intermediate overflows.
struct BlendRange {
    int32_t firstColumn = 0;
    int32_t endColumn = 0;
    int32_t firstLine = 0;
    int32_t endLine = 0;

    bool IsEmpty() const { return firstColumn >= endColumn || firstLine >= endLine; }
};

BlendRange BlendRangeOnBackground(int32_t w, int32_t h, int32_t backWidth, int32_t backHeight, int32_t xBack,
                                  int32_t yBack);

// Blends the drawn area (the top-left w x h of source) over background at
// (xBack, yBack) into the same positions of out, with the kernels' formula.
// out has source's geometry. level is 0..255.
void BlendOverBackground(const PixelRows& source, const PixelRows& background, const PixelRows& out, int32_t w,
                         int32_t h, int32_t xBack, int32_t yBack, unsigned level, const BlendKernels& kernels);

// Without a background every byte of the drawn area's lines fades toward
// white: min(255, p + level).
void LightenArea(const PixelRows& source, const PixelRows& out, int32_t w, int32_t h, unsigned level,
                 const BlendKernels& kernels);
