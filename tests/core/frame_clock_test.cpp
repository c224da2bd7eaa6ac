#include "engine/frame_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Four(int a, int b, int c, int d) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}

// Records every hook call, in order, as text.
class RecordingHooks : public FrameHooks {
public:
    bool PrepareSlide() override {
        log.push_back("prepare");
        ++prepared;
        return prepareSucceeds;
    }
    bool PictureSize(int& w, int& h) override {
        w = 100;
        h = 50;
        return true;
    }
    void MoveClip(int dx1, int dy1, int dx2, int dy2) override { log.push_back("clip " + Four(dx1, dy1, dx2, dy2)); }
    void Invalidate(const PixelRect& r) override {
        log.push_back("invalidate " + Four(r.left, r.top, r.right, r.bottom));
    }
    void StampIntoBackground(int x, int y) override {
        log.push_back("stamp " + std::to_string(x) + "," + std::to_string(y));
    }

    bool prepareSucceeds = true;
    int prepared = 0;
    std::vector<std::string> log;
};

class FrameClockTest : public testing::Test {
protected:
    // Runs n ticks; returns the fade level after each and keeps the x positions.
    std::vector<int> Run(int n) {
        std::vector<int> levels;
        for (int i = 0; i < n; ++i) {
            Tick(clock, settings, motion, hooks);
            levels.push_back(clock.fadeLevel);
            xs.push_back(clock.posX);
        }
        return levels;
    }

    FrameClock clock;
    ClockSettings settings = {4, 2, false, false};
    SlideMotion motion;
    RecordingHooks hooks;
    std::vector<int> xs;
};

TEST_F(FrameClockTest, EachFadeAndHoldLengthRunsItsLevelSequence) {
    struct Case {
        int fadeSteps, holdTicks;
        std::vector<int> levels;  // after each tick, from a fresh clock
        int prepared;
    };
    const Case cases[] = {
        {4, 0, {192, 128, 64, 0, 63, 127, 191, 255, 192}, 2},  // the ninth tick starts the next slide
        {1, 0, {0, 255, 0, 255}, 2},
        {256, 0, {255, 254}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.fadeSteps) + " steps, hold " + std::to_string(c.holdTicks));
        clock = FrameClock();
        hooks = RecordingHooks();
        settings = {c.fadeSteps, c.holdTicks, false, false};
        EXPECT_EQ(Run(static_cast<int>(c.levels.size())), c.levels);
        EXPECT_EQ(hooks.prepared, c.prepared);
        EXPECT_DOUBLE_EQ(clock.zoom, 1.0) << "zoom never changes without randomZoom";
    }
}

TEST_F(FrameClockTest, ASlideThatFailsToPrepareEndsTheTickAndChangesNothing) {
    hooks.prepareSucceeds = false;
    EXPECT_EQ(Run(3), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(hooks.log, std::vector<std::string>(3, "prepare")) << "every tick tries the next file, nothing else";
    EXPECT_EQ(clock.phaseStep, 0);
    EXPECT_EQ(clock.posX, 0);

    hooks.prepareSucceeds = true;
    EXPECT_EQ(Run(1), (std::vector<int>{192}));
}

// Positions truncate the tick count times the step: trunc(-1.5 i) + 10 -
// trunc(-1.5) across, over fade, hold and fade-out alike.
TEST_F(FrameClockTest, PositionsTruncateAndTheClipMovesBeforeEachRepaintOfThePreviousAndTheCurrentRectangle) {
    motion.SetStart(10, 20);
    motion.SetStep(-1.5, 2.5);
    Run(2);
    // Second tick: motion index 2, so travel trunc(-3.0) = -3 and trunc(5.0) = 5.
    EXPECT_EQ(hooks.log, (std::vector<std::string>{"prepare", "clip 9,22,1,-2", "invalidate 10,20,110,70",
                                                   "clip 7,25,1,-2", "invalidate 8,20,110,73"}));
    // The slide ends at (-4, 43) on its tenth tick; the next slide's first
    // repaint also clears that rectangle.
    Run(8);
    EXPECT_EQ(xs, (std::vector<int>{10, 8, 7, 5, 4, 2, 1, -1, -2, -4}));
    motion.SetStart(500, 400);
    Run(1);
    EXPECT_EQ(hooks.log.back(), "invalidate -4,43,600,450");
}

TEST_F(FrameClockTest, TheZoomFollowsTheFadeAndKeepsThePictureCentred) {
    settings = {64, 0, true, false};
    motion.SetStart(200, 100);
    motion.SetZoom(1.5, 0.5);
    Run(1);
    EXPECT_EQ(clock.fadeLevel, 252);
    EXPECT_NEAR(clock.zoom, 0.5 * 252 / 255 + 1.0, 1e-12);
    // 100 x 50 drawn at 1.494...: 149 x 74, centred on the unzoomed picture.
    EXPECT_EQ(hooks.log, (std::vector<std::string>{"prepare", "invalidate 176,88,325,162"}))
        << "a zoomed picture has no clip region to move";

    Run(63);
    EXPECT_EQ(clock.fadeLevel, 0);
    EXPECT_DOUBLE_EQ(clock.zoom, 1.0) << "the hold shows the picture at its own size";
    EXPECT_EQ(clock.posX, 200);

    Run(64);
    EXPECT_EQ(clock.fadeLevel, 255);
    EXPECT_NEAR(clock.zoom, 0.5, 1e-12);
    EXPECT_EQ(clock.posX, 200 + 25) << "a shrunk picture is centred too";
}

TEST_F(FrameClockTest, WithoutFadeOutEachSlideIsStampedWhereItsLastHoldTickLeftIt) {
    settings = {4, 2, false, true};  // noFadeout
    motion.SetStart(10, 20);
    motion.SetStep(1.0, 0.0);
    EXPECT_EQ(Run(6), (std::vector<int>{192, 128, 64, 0, 0, 0})) << "F + H ticks, no fade-out";
    EXPECT_EQ(hooks.log.back(), "stamp 15,20");

    motion.SetStart(300, 40);
    EXPECT_EQ(Run(1), (std::vector<int>{192})) << "the next slide starts on the next tick";
    EXPECT_EQ(hooks.prepared, 2);
    EXPECT_EQ(clock.posX, 300);
}

}  // namespace
