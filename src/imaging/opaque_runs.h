// The scan behind the opaque region: the horizontal runs of pixels that are
// not of the transparent colour, line by line. No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>

// One run as the region description stores it (the platform's RECT layout):
// columns left..right-1 of line top, bottom = top + 1.
struct RunRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
static_assert(sizeof(RunRect) == 16, "a run is stored as four 32-bit fields");

// The most runs one line of width pixels can hold: every other pixel opaque.
inline size_t MostRunsInLine(int32_t width) { return (static_cast<size_t>(width) + 1) / 2; }

// Appends the opaque runs of one 24-bit line (bytes blue, green, red) to out,
// left to right, as rectangles of line y; a pixel is transparent when all
// three bytes equal transparentColor's (0x00BBGGRR). out has room for
// MostRunsInLine(width) runs. Returns the number appended. Reads exactly the
// width * 3 bytes of the line.
size_t ScanOpaqueRunsInLine(const uint8_t* line, int32_t width, uint32_t transparentColor, int32_t y, RunRect* out);
