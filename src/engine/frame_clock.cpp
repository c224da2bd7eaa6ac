#include "engine/frame_clock.h"

#include <climits>
#include <cmath>

namespace {

constexpr int OPAQUE_LEVEL = 0;
constexpr int INVISIBLE_LEVEL = 255;
constexpr double LEVEL_RANGE = 255.0;
constexpr double PER_LEVEL = 1.0 / 255;

// Truncation toward zero, as all pixel arithmetic here converts. Values
// outside the int range (which no sane motion produces) saturate instead of
// being undefined.
int Trunc(double value) {
    if (!(value > static_cast<double>(INT_MIN))) {
        return value != value ? 0 : INT_MIN;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

double ZoomAtLevel(double endZoom, int fadeLevel) {
    return (endZoom - 1.0) * (fadeLevel * PER_LEVEL) + 1.0;
}

void AdvancePhase(FrameClock& clock, const ClockSettings& settings, const SlideMotion& motion, int fadeSteps) {
    if (clock.phaseStep < fadeSteps) {
        clock.fadeLevel = INVISIBLE_LEVEL - Trunc(static_cast<double>(clock.phaseStep) / fadeSteps * LEVEL_RANGE);
        ++clock.phaseStep;
        if (settings.randomZoom) {
            clock.zoom = ZoomAtLevel(motion.ZoomIn(), clock.fadeLevel);
        }
    } else if (clock.phaseStep == fadeSteps) {
        if (clock.holdCount == 0) {
            clock.fadeLevel = OPAQUE_LEVEL;
            if (settings.randomZoom) {
                clock.zoom = 1.0;
            }
        }
        if (clock.holdCount >= static_cast<uint32_t>(settings.holdTicks < 0 ? 0 : settings.holdTicks)) {
            ++clock.phaseStep;
        }
        ++clock.holdCount;
    } else {
        clock.fadeLevel = Trunc(static_cast<double>(clock.phaseStep - fadeSteps) / fadeSteps * LEVEL_RANGE);
        ++clock.phaseStep;
        if (settings.randomZoom) {
            clock.zoom = ZoomAtLevel(motion.ZoomOut(), clock.fadeLevel);
        }
    }
}

// Positions come afresh from the slide's tick count, never accumulated, so
// rounding never builds up over a slide.
void Place(FrameClock& clock, const ClockSettings& settings, const SlideMotion& motion, FrameHooks& hooks,
           int fadeSteps) {
    int width = 0;
    int height = 0;
    if (!hooks.PictureSize(width, height)) {
        return;
    }
    // Runs 1, 2, 3, ... over the ticks of a slide: the fade-out ticks have
    // raised phaseStep once more than their place in the slide.
    const uint32_t behind = clock.phaseStep > fadeSteps ? 2u : 1u;
    const double motionIndex =
        static_cast<double>(clock.holdCount + static_cast<uint32_t>(clock.phaseStep) - behind);
    const int travelX = Trunc(motion.StepX() * motionIndex);
    const int travelY = Trunc(motion.StepY() * motionIndex);
    clock.posX = travelX + motion.StartX() - Trunc(motion.StepX());
    clock.posY = travelY + motion.StartY() - Trunc(motion.StepY());

    const int drawnWidth = Trunc(width * clock.zoom);
    const int drawnHeight = Trunc(height * clock.zoom);
    if (settings.randomZoom) {
        clock.posX -= (drawnWidth - width) / 2;
        clock.posY -= (drawnHeight - height) / 2;
    } else {
        // The region lies at the picture's origin after its refresh; the two
        // moves leave it at (posX, posY).
        hooks.MoveClip(travelX + motion.StartX(), travelY + motion.StartY(), Trunc(-motion.StepX()),
                       Trunc(-motion.StepY()));
    }

    PixelRect rect;
    rect.left = clock.posX;
    rect.top = clock.posY;
    rect.right = clock.posX + drawnWidth;
    rect.bottom = clock.posY + drawnHeight;
    hooks.Invalidate(Union(clock.prevRect, rect));
    clock.prevRect = rect;
}

}  // namespace

bool IsEmpty(const PixelRect& rect) {
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
    if (IsEmpty(a)) {
        return IsEmpty(b) ? PixelRect() : b;
    }
    if (IsEmpty(b)) {
        return a;
    }
    PixelRect both;
    both.left = a.left < b.left ? a.left : b.left;
    both.top = a.top < b.top ? a.top : b.top;
    both.right = a.right > b.right ? a.right : b.right;
    both.bottom = a.bottom > b.bottom ? a.bottom : b.bottom;
    return both;
}

void Tick(FrameClock& clock, const ClockSettings& settings, const SlideMotion& motion, FrameHooks& hooks) {
    // The settings record keeps fadeSteps at 1 or more; a hand-made one must
    // still never divide by zero.
    const int fadeSteps = settings.fadeSteps < 1 ? 1 : settings.fadeSteps;

    if (clock.phaseStep <= 0) {
        // An unreadable picture costs this one tick; the next tries the next file.
        if (clock.holdCount == 0 && !hooks.PrepareSlide()) {
            return;
        }
        clock.phaseStep = 1;
    }

    AdvancePhase(clock, settings, motion, fadeSteps);
    Place(clock, settings, motion, hooks, fadeSteps);

    if (settings.noFadeout) {
        // The last hold tick ends the slide: it stays in the background where it stands.
        if (clock.phaseStep > fadeSteps) {
            clock.holdCount = 0;
            clock.phaseStep = 0;
            hooks.StampIntoBackground(clock.posX, clock.posY);
        }
    } else if (clock.phaseStep > 2 * fadeSteps) {
        clock.holdCount = 0;
        clock.phaseStep = 0;
    }
}
