// The background every slide is drawn over, built once per saver window.
#pragma once

#include <windows.h>

class SaverSettings;
class SlideLayer;

// Puts the background into the layer: the desktop as it is (backScreen), the
// background picture tiled or stretched with its brightness, or the colour.
// When the chosen kind cannot be made, the desktop (backScreen) or plain white
// stands in. Tiles are scaled by previewScale times the monitor's dpiScale.
// False only when even that fails.
bool PrepareBackground(SlideLayer& layer, const SaverSettings& settings, HWND window, double previewScale,
                       double dpiScale = 1.0);
