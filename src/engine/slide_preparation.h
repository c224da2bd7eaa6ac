// Loading the next picture of the slideshow into the layer, and choosing where
// it starts, how it moves and how it zooms.
#pragma once

#include <windows.h>

#include "engine/picture_file.h"
#include "engine/slide_motion.h"
#include "engine/slide_placement.h"

class PictureBuffer;
class SaverSettings;
class SlideLayer;

// Whether slides get a transparent colour: asked for, and random zoom off,
// since a zoomed picture is drawn without a clip. The one place that rule is
// decided; the transparent colour's exact matching, the region and its clip follow it.
bool UsesTransparentColor(const SaverSettings& settings);

// How large the settings, the preview and the monitor's scale factor let a
// slide be shown.
PictureLimit SlideLimit(const SaverSettings& settings, double previewScale, double dpiScale);

// Takes the next file of pictureFiles, loads it (GIF files refused, BMP read
// directly, other formats through the system's picture loader), shrinks it to
// the size limits and the preview, hands it to the layer, builds its
// transparent-colour region, and fills motion. False when no new picture is
// in the layer; motion is then reset. Random values come from draw.
bool PrepareNextSlide(SlideMotion& motion, SlideLayer& layer, HRGN& maskRegion, SaverSettings& settings,
                      HWND window, double previewScale, RandomDraw draw);

// PrepareNextSlide's second half, for a picture loaded already (work empty:
// the file was refused): hands work to the layer and places it on the stage,
// which PrepareNextSlide makes the whole client at 96 DPI.
bool PlaceNextSlide(SlideMotion& motion, SlideLayer& layer, HRGN& maskRegion, SaverSettings& settings,
                    const SlideStage& stage, double previewScale, RandomDraw draw, PictureBuffer& work);
