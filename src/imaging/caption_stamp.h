// Draws a caption into a picture's pixels, at its bottom left: white text
// with a dark outline, legible on a white sky and on a black night alike, in
// the system's Japanese interface font. Drawn once into the picture, it then
// fades, drifts, zooms and stays stamped with it.
#pragma once

#include <windows.h>

#include <cstddef>

class BitmapBuffer;

// Draws text (UTF-16, length characters) into picture as shown at dpiScale,
// cut with an ellipsis where it is wider than the picture. Nothing is drawn
// into a picture too small to hold the caption at its least size. With a
// transparentColor, no pixel the caption changes is left in that colour, so
// that the caption never shows holes. A picture of fewer than 24 bits is
// brought to 24 first. True when the caption was drawn.
bool StampCaption(BitmapBuffer& picture, const char16_t* text, size_t length, double dpiScale,
                  const COLORREF* transparentColor);
