// Resizing a picture to the size it is shown at without blocks of uneven
// width: at factors such as 1.25 and 1.5, repeating pixels makes some one
// pixel wide and others two, which shows in photos.
#pragma once

#include <windows.h>

class BitmapBuffer;

// Resizes picture by scale, each side truncated. Shrinking averages the area
// each pixel covers (BitmapBuffer::Scale); enlarging blends neighbouring
// pixels with the system's HALFTONE stretch and gives 24 bits. Pictures with a
// transparent colour are not for this: blending would change that colour
// along the edges. False leaves picture empty.
bool ResizeSmoothly(BitmapBuffer& picture, double scale);
