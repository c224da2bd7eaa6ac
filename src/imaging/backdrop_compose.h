// Lays decoded pixels that may carry alpha over a backdrop colour,
// giving the 24-bit blue-green-red lines the rest of the program works with.
// No Win32 here.
#pragma once

#include <cstdint>

struct BackdropColor {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
};

// Writes width 24-bit pixels to out from width 32-bit premultiplied
// blue-green-red-alpha pixels: each channel c + (255 - alpha) * backdrop / 255,
// rounded to nearest and never above 255 (a channel larger than its alpha,
// which premultiplied data never holds, saturates). Opaque pixels keep their
// colour; those of alpha 0 take the backdrop's.
void ComposeOverBackdrop(const uint8_t* premultiplied, int width, BackdropColor backdrop, uint8_t* out);
