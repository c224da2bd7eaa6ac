// The frame clock: one call per timer tick carries the current slide through
// fade-in, hold and fade-out (or stamps it into the background), and leaves the
// fade level, zoom and position that the next paint uses.
//
// Pure arithmetic: everything it needs from the window, the layer and the
// clip region it reaches through FrameHooks, so it runs without a window.
#pragma once

#include <cstdint>

#include "engine/slide_motion.h"

// A client-area rectangle; right and bottom are exclusive, as in a Win32 RECT.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Empty when it encloses no pixel, as the platform's IsRectEmpty decides.
bool IsEmpty(const PixelRect& rect);

// The smallest rectangle holding both; an empty one adds nothing, and two
// empty ones give the all-zero rectangle.
PixelRect Union(const PixelRect& a, const PixelRect& b);

// The settings the clock reads, copied from SaverSettings by the caller.
struct ClockSettings {
    int fadeSteps = 64;  // F, 1..256
    int holdTicks = 40;  // H, 0..999
    bool randomZoom = false;
    bool noFadeout = false;
};

// Supplied by the saver window; called from within Tick, in this order:
// PrepareSlide (only when a slide is due), PictureSize, MoveClip (unless
// zooming), Invalidate, StampIntoBackground (only when a stamped slide ends).
class FrameHooks {
public:
    // Loads the next picture into the layer and describes it in the motion
    // record. False when no picture could be prepared.
    virtual bool PrepareSlide() = 0;
    // The picture's size at scale 1.0; false when the layer holds no picture.
    virtual bool PictureSize(int& width, int& height) = 0;
    // Moves the transparent-colour clip region, when there is one, by
    // (dx1, dy1) and then by (dx2, dy2), after refreshing it.
    virtual void MoveClip(int dx1, int dy1, int dx2, int dy2) = 0;
    // Marks rect of the client area for repainting (without erasing).
    virtual void Invalidate(const PixelRect& rect) = 0;
    // Draws the picture at full opacity and scale 1.0 into the background at (x, y).
    virtual void StampIntoBackground(int x, int y) = 0;

protected:
    ~FrameHooks() = default;
};

// The clock's state, one per saver window. Fields are read by the paint.
struct FrameClock {
    int32_t phaseStep = 0;    // 0: a slide is due; 1..F-1 fade-in; F hold; F+1..2F fade-out
    uint32_t holdCount = 0;   // ticks spent in the hold of the current slide
    int32_t fadeLevel = 0;    // 0 = picture fully covers the background, 255 = invisible
    double zoom = 1.0;        // scale the picture is drawn at
    int32_t posX = 0;         // client position of the drawn picture's top-left corner
    int32_t posY = 0;
    PixelRect prevRect;       // picture rectangle invalidated on the previous tick
};

void Tick(FrameClock& clock, const ClockSettings& settings, const SlideMotion& motion, FrameHooks& hooks);
