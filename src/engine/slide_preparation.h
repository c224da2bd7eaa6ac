// Loading the next picture of the slideshow into the layer, and choosing where
// it starts, how it moves and how it zooms.
#pragma once

#include <windows.h>

#include "engine/slide_motion.h"
#include "engine/slide_placement.h"

class SaverSettings;
class SlideLayer;

// Takes the next file of pictureFiles, loads it (GIF files refused, BMP read
// directly, other formats through the system's picture loader), shrinks it to
// the size limits and the preview, hands it to the layer, builds its
// transparent-colour region, and fills motion. False when no new picture is
// in the layer; motion is then reset. Random values come from draw.
bool PrepareNextSlide(SlideMotion& motion, SlideLayer& layer, HRGN& maskRegion, SaverSettings& settings,
                      HWND window, double previewScale, RandomDraw draw);
