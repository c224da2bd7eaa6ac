// The stages of the full-screen window on a desktop of several monitors: the
// window covers them all, and each slide takes one monitor as its stage, so
// that no picture is centred on, or starts across, the seam between two.
// Pure geometry; the monitors come from the caller. No Win32 here.
#pragma once

#include "engine/frame_clock.h"
#include "engine/slide_placement.h"

// One monitor in virtual-screen coordinates, with its resolution (0: unknown).
struct MonitorArea {
    PixelRect bounds;
    bool primary;
    int dpi;
};

// The most stages a window is given; monitors beyond it are not used.
constexpr int MAX_STAGES = 16;

// Writes the stages of a window whose client area covers `window`
// (virtual-screen coordinates) and returns how many: one for each monitor
// that overlaps the window, cut to it and moved into client coordinates, the
// primary monitor's first and the rest in the order given, at most capacity.
// A window that overlaps no monitor (none given, say) is one stage, the whole
// client, at fallbackDpi.
int ArrangeStages(const MonitorArea* monitors, int count, const PixelRect& window, int fallbackDpi,
                  SlideStage* stages, int capacity);

// The stage of the slide shown as number `slide` (0 for the first): the
// stages taken in turn.
const SlideStage& StageOfSlide(const SlideStage* stages, int count, unsigned slide);
