#include "engine/monitor_stages.h"

namespace {

int Larger(int a, int b) { return a > b ? a : b; }
int Smaller(int a, int b) { return a < b ? a : b; }

// The part of the monitor inside the window, in client coordinates; false
// when they do not overlap.
bool StageOf(const MonitorArea& monitor, const PixelRect& window, SlideStage& stage) {
    const int left = Larger(monitor.bounds.left, window.left);
    const int top = Larger(monitor.bounds.top, window.top);
    const int right = Smaller(monitor.bounds.right, window.right);
    const int bottom = Smaller(monitor.bounds.bottom, window.bottom);
    if (left >= right || top >= bottom) {
        return false;
    }
    stage = SlideStage{left - window.left, top - window.top, right - left, bottom - top, ScaleForDpi(monitor.dpi)};
    return true;
}

}  // namespace

int ArrangeStages(const MonitorArea* monitors, int count, const PixelRect& window, int fallbackDpi,
                  SlideStage* stages, int capacity) {
    if (capacity <= 0) {
        return 0;
    }
    int written = 0;
    // Two passes: the primary monitor, then the others as given.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count && written < capacity; ++i) {
            if (monitors[i].primary == (pass == 0) && StageOf(monitors[i], window, stages[written])) {
                ++written;
            }
        }
    }
    if (written == 0) {
        stages[0] = SlideStage{0, 0, window.right - window.left, window.bottom - window.top, ScaleForDpi(fallbackDpi)};
        written = 1;
    }
    return written;
}

const SlideStage& StageOfSlide(const SlideStage* stages, int count, unsigned slide) {
    return stages[count > 1 ? slide % static_cast<unsigned>(count) : 0];
}
