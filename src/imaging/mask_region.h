// The per-slide transparency steps of the slideshow: the opaque region of the
// picture (once per slide) and its copy used as the clip (every tick).
#pragma once

#include <windows.h>

#include "imaging/bitmap_buffer.h"
#include "settings/saver_settings.h"

// With useMask set and randomZoom clear: deletes the old region and replaces
// it with the picture's opaque region (NULL when that fails), keyed on
// maskColor with useColor set, else on the picture's top-left pixel.
// Otherwise leaves region as it is.
void BuildMaskRegion(const SaverSettings& settings, const BitmapBuffer& picture, HRGN& region);

// With useMask set, randomZoom clear and a mask: makes clip (creating it when
// NULL) an exact copy of mask. A failed copy deletes clip and leaves it NULL.
void RefreshClipRegion(const SaverSettings& settings, HRGN mask, HRGN& clip);

// Tests: while set, BuildMaskRegion ends with no region, as when the system
// cannot make one (out of memory or GDI objects).
void SetOpaqueRegionFailureForTest(bool fail);
