// The per-slide transparency steps of the slideshow: the opaque region of the
// picture (once per slide) and its copy used as the clip (every tick). Whether
// a slide has a transparent colour at all is the caller's choice.
#pragma once

#include <windows.h>

#include "imaging/bitmap_buffer.h"

// Deletes the old region and replaces it with the picture's opaque region
// (NULL when that fails); the transparent colour is color with useColor
// set, else the picture's top-left pixel.
void BuildMaskRegion(const BitmapBuffer& picture, bool useColor, COLORREF color, HRGN& region);

// With a mask: makes clip (creating it when NULL) an exact copy of mask. A
// failed copy deletes clip and leaves it NULL.
void RefreshClipRegion(HRGN mask, HRGN& clip);
