// Where the saver window's slides are placed, read from the system: the
// monitors the full-screen window covers, or the preview's whole client, each
// with its resolution.
#pragma once

#include <windows.h>

#include "engine/slide_placement.h"

// Writes the stages of the window (at most capacity, at least 1) and returns
// how many. Resolutions count only where the system lets this program draw in
// physical pixels, which its manifest asks for; elsewhere the system scales
// the window itself, and every stage is at 1.0.
int FindStages(HWND window, SlideStage* stages, int capacity);
