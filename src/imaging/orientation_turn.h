// Turns or mirrors a picture's pixels as its EXIF orientation prescribes, so
// that a photo taken with the camera on its side is shown upright. Runs once
// per picture, before its size is limited and it is placed. No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/exif_orientation.h"

struct PixelSize {
    int width;
    int height;
};

// The size of a width x height picture once turned: the sides swap for the
// quarter turns and the two diagonal mirrors.
PixelSize TurnedSize(ExifOrientation orientation, int width, int height);

// A block of pixel rows seen from the top of the picture: top is the first
// byte of the picture's top line, and stride the signed distance in bytes
// from a line to the one below it. A top-down block is {bits, stride, width,
// height}. A bottom-up DIB (positive biHeight, the usual kind) keeps its top
// line last in memory: BottomUpDibRows describes it.
struct PixelRows {
    uint8_t* top;
    ptrdiff_t stride;
    int width;
    int height;
};

// The rows of a bottom-up DIB whose lines are dibStride bytes apart.
inline PixelRows BottomUpDibRows(uint8_t* bits, int width, int height, size_t dibStride) {
    const ptrdiff_t stride = static_cast<ptrdiff_t>(dibStride);
    return PixelRows{bits + (height - 1) * stride, -stride, width, height};
}

// Writes source, turned as orientation prescribes, into destination, whose
// width and height must be TurnedSize of the source's. Both hold bytesPerPixel
// (3 or 4) bytes a pixel. Source is only read; of each destination line only
// its width * bytesPerPixel bytes are written, so the padding after them stays
// as it was. The two blocks must not overlap. False, with nothing written, for
// an orientation outside 1..8, another pixel size, a size that does not match
// or a line longer than its stride.
bool TurnPixelRows(ExifOrientation orientation, int bytesPerPixel, const PixelRows& source,
                   const PixelRows& destination);
