#include "engine/frame_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every hook call, in order, as text.
class RecordingHooks : public FrameHooks {
public:
    bool PrepareSlide() override {
        log.push_back("prepare");
        ++prepared;
        return prepareSucceeds;
    }
    bool PictureSize(int& w, int& h) override {
        if (!hasPicture) {
            return false;
        }
        w = width;
        h = height;
        return true;
    }
    void MoveClip(int dx1, int dy1, int dx2, int dy2) override {
        log.push_back("clip " + Four(dx1, dy1, dx2, dy2));
    }
    void Invalidate(const PixelRect& r) override {
        log.push_back("invalidate " + Four(r.left, r.top, r.right, r.bottom));
        invalidated.push_back(r);
    }
    void StampIntoBackground(int x, int y) override {
        log.push_back("stamp " + std::to_string(x) + "," + std::to_string(y));
    }

    static std::string Four(int a, int b, int c, int d) {
        return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
    }

    bool prepareSucceeds = true;
    bool hasPicture = true;
    int width = 100;
    int height = 50;
    int prepared = 0;
    std::vector<std::string> log;
    std::vector<PixelRect> invalidated;
};

ClockSettings Settings(int fadeSteps, int holdTicks, bool randomZoom = false, bool noFadeout = false) {
    ClockSettings settings;
    settings.fadeSteps = fadeSteps;
    settings.holdTicks = holdTicks;
    settings.randomZoom = randomZoom;
    settings.noFadeout = noFadeout;
    return settings;
}

class FrameClockTest : public testing::Test {
protected:
    // Runs n ticks and returns the fade level after each.
    std::vector<int> Levels(int n) {
        std::vector<int> levels;
        for (int i = 0; i < n; ++i) {
            Tick(clock, settings, motion, hooks);
            levels.push_back(clock.fadeLevel);
        }
        return levels;
    }
    std::vector<int> PositionsX(int n) {
        std::vector<int> xs;
        for (int i = 0; i < n; ++i) {
            Tick(clock, settings, motion, hooks);
            xs.push_back(clock.posX);
        }
        return xs;
    }

    FrameClock clock;
    ClockSettings settings = Settings(4, 2);
    SlideMotion motion;
    RecordingHooks hooks;
};

TEST_F(FrameClockTest, FourStepsAndAHoldOfTwoRunTheFullLevelSequence) {
    EXPECT_EQ(Levels(10), (std::vector<int>{192, 128, 64, 0, 0, 0, 63, 127, 191, 255}));
    EXPECT_EQ(hooks.prepared, 1);
    EXPECT_EQ(clock.phaseStep, 0);
    EXPECT_EQ(clock.holdCount, 0u);
    Tick(clock, settings, motion, hooks);
    EXPECT_EQ(hooks.prepared, 2) << "the eleventh tick prepares the next slide";
    EXPECT_EQ(clock.fadeLevel, 192);
    EXPECT_DOUBLE_EQ(clock.zoom, 1.0) << "zoom never changes without randomZoom";
}

TEST_F(FrameClockTest, SixtyFourStepsFadeByFoursAndASlideLastsTwoFadesAndTheHold) {
    settings = Settings(64, 3);
    const std::vector<int> levels = Levels(2 * 64 + 3);
    EXPECT_EQ(levels[0], 252);
    EXPECT_EQ(levels[1], 248);
    EXPECT_EQ(levels[62], 4) << "last fade-in frame";
    EXPECT_EQ(levels[63], 0);
    EXPECT_EQ(levels[66], 0) << "the hold lasts holdTicks + 1 ticks";
    EXPECT_EQ(levels[67], 3);
    EXPECT_EQ(levels[68], 7);
    EXPECT_EQ(levels.back(), 255);
    for (size_t i = 1; i < 63; ++i) {
        EXPECT_LT(levels[i], levels[i - 1]) << i;
    }
    EXPECT_EQ(hooks.prepared, 1);
    Tick(clock, settings, motion, hooks);
    EXPECT_EQ(hooks.prepared, 2);
}

TEST_F(FrameClockTest, OneStepShowsThePictureAtOnceAndFadesOutInOneTick) {
    settings = Settings(1, 0);
    EXPECT_EQ(Levels(4), (std::vector<int>{0, 255, 0, 255}));
    EXPECT_EQ(hooks.prepared, 2);
}

TEST_F(FrameClockTest, TwoHundredFiftySixStepsStartInvisible) {
    settings = Settings(256, 0);
    const std::vector<int> levels = Levels(2);
    EXPECT_EQ(levels[0], 255);
    EXPECT_EQ(levels[1], 255 - 1);
}

TEST_F(FrameClockTest, ASlideThatFailsToPrepareEndsTheTickAndChangesNothing) {
    hooks.prepareSucceeds = false;
    for (int i = 0; i < 5; ++i) {
        Tick(clock, settings, motion, hooks);
    }
    EXPECT_EQ(hooks.prepared, 5) << "every tick tries the next file";
    EXPECT_EQ(hooks.log, std::vector<std::string>(5, "prepare")) << "nothing else is called";
    EXPECT_EQ(clock.phaseStep, 0);
    EXPECT_EQ(clock.fadeLevel, 0);
    EXPECT_EQ(clock.posX, 0);

    hooks.prepareSucceeds = true;
    Tick(clock, settings, motion, hooks);
    EXPECT_EQ(clock.fadeLevel, 192);
}

TEST_F(FrameClockTest, WithoutAPicturePhasesAdvanceButNothingIsPlacedOrRepainted) {
    hooks.hasPicture = false;
    EXPECT_EQ(Levels(11), (std::vector<int>{192, 128, 64, 0, 0, 0, 63, 127, 191, 255, 192}));
    EXPECT_EQ(hooks.log, (std::vector<std::string>{"prepare", "prepare"}));
}

TEST_F(FrameClockTest, PositionsComeFromTheTickCountAcrossAllPhases) {
    motion.SetStart(10, 20);
    motion.SetStep(2.0, -1.0);
    std::vector<int> expected;
    for (int i = 0; i < 10; ++i) {
        expected.push_back(10 + 2 * i);
    }
    EXPECT_EQ(PositionsX(10), expected);
    EXPECT_EQ(clock.posY, 20 - 9);
}

TEST_F(FrameClockTest, FractionalStepsTruncateTowardZero) {
    motion.SetStart(100, 0);
    motion.SetStep(-1.5, 0.25);
    // trunc(-1.5 i) + 100 - trunc(-1.5): 100, 98, 97, 95, 94, ...
    EXPECT_EQ(PositionsX(6), (std::vector<int>{100, 98, 97, 95, 94, 92}));
    EXPECT_EQ(clock.posY, 1) << "trunc(0.25 * 6) + 0 - trunc(0.25)";
}

TEST_F(FrameClockTest, TheClipRegionMovesToThePictureEveryTickBeforeTheRepaint) {
    motion.SetStart(10, 20);
    motion.SetStep(-1.5, 2.5);
    Tick(clock, settings, motion, hooks);
    Tick(clock, settings, motion, hooks);
    // Second tick: motion index 2, so travel trunc(-3.0) = -3 and trunc(5.0) = 5.
    const std::vector<std::string> expected = {
        "prepare",
        "clip 9,22,1,-2",
        "invalidate 10,20,110,70",
        "clip 7,25,1,-2",
        "invalidate 8,20,110,73",
    };
    EXPECT_EQ(hooks.log, expected);
    EXPECT_EQ(clock.posX, 7 + 1);
    EXPECT_EQ(clock.posY, 25 - 2);
}

TEST_F(FrameClockTest, EachRepaintCoversThePreviousAndTheCurrentRectangle) {
    motion.SetStart(0, 0);
    motion.SetStep(3.0, 1.0);
    for (int i = 0; i < 10; ++i) {
        Tick(clock, settings, motion, hooks);
    }
    ASSERT_EQ(hooks.invalidated.size(), 10u);
    for (int i = 1; i < 10; ++i) {
        const PixelRect& r = hooks.invalidated[i];
        EXPECT_EQ(r.left, 3 * (i - 1)) << i;
        EXPECT_EQ(r.top, i - 1) << i;
        EXPECT_EQ(r.right, 3 * i + 100) << i;
        EXPECT_EQ(r.bottom, i + 50) << i;
    }
    EXPECT_EQ(clock.prevRect.left, 27);
    EXPECT_EQ(clock.prevRect.right, 127);

    // The next slide's first repaint also clears where the last one stood.
    motion.SetStart(500, 400);
    Tick(clock, settings, motion, hooks);
    const PixelRect& r = hooks.invalidated.back();
    EXPECT_EQ(r.left, 27);
    EXPECT_EQ(r.top, 9);
    EXPECT_EQ(r.right, 600);
    EXPECT_EQ(r.bottom, 450);
}

TEST_F(FrameClockTest, TheZoomFollowsTheFadeAndKeepsThePictureCentred) {
    settings = Settings(64, 0, true);
    motion.SetStart(200, 100);
    motion.SetZoom(1.5, 0.5);
    Tick(clock, settings, motion, hooks);
    EXPECT_EQ(clock.fadeLevel, 252);
    EXPECT_NEAR(clock.zoom, 0.5 * 252 / 255 + 1.0, 1e-12);
    // 100 x 50 drawn at 1.494...: 149 x 74, centred on the unzoomed picture.
    EXPECT_EQ(clock.posX, 200 - (149 - 100) / 2);
    EXPECT_EQ(clock.posY, 100 - (74 - 50) / 2);
    const PixelRect& first = hooks.invalidated.back();
    EXPECT_EQ(first.right - first.left, 149);
    EXPECT_EQ(first.bottom - first.top, 74);
    for (const std::string& call : hooks.log) {
        EXPECT_NE(call.substr(0, 4), "clip") << "a zoomed picture has no clip region to move";
    }

    for (int i = 1; i < 64; ++i) {
        Tick(clock, settings, motion, hooks);
    }
    EXPECT_EQ(clock.fadeLevel, 0);
    EXPECT_DOUBLE_EQ(clock.zoom, 1.0) << "the hold shows the picture at its own size";
    EXPECT_EQ(clock.posX, 200);

    for (int i = 0; i < 64; ++i) {
        Tick(clock, settings, motion, hooks);
    }
    EXPECT_EQ(clock.fadeLevel, 255);
    EXPECT_NEAR(clock.zoom, 0.5, 1e-12);
    EXPECT_EQ(clock.posX, 200 + 25) << "a shrunk picture is centred too";
}

TEST_F(FrameClockTest, WithoutFadeOutEachSlideIsStampedWhereItsLastHoldTickLeftIt) {
    settings = Settings(4, 2, false, true);
    motion.SetStart(10, 20);
    motion.SetStep(1.0, 0.0);
    const std::vector<int> levels = Levels(6);
    EXPECT_EQ(levels, (std::vector<int>{192, 128, 64, 0, 0, 0})) << "F + H ticks, no fade-out";
    EXPECT_EQ(hooks.log.back(), "stamp 15,20");
    EXPECT_EQ(clock.phaseStep, 0);

    motion.SetStart(300, 40);
    Tick(clock, settings, motion, hooks);
    EXPECT_EQ(hooks.prepared, 2) << "the next slide starts on the next tick";
    EXPECT_EQ(clock.posX, 300);
    EXPECT_EQ(clock.fadeLevel, 192);
}

TEST(FrameClockRect, UnionIgnoresEmptyRectangles) {
    PixelRect empty;
    PixelRect a;
    a.left = 5;
    a.top = 6;
    a.right = 10;
    a.bottom = 12;
    PixelRect flat = a;
    flat.bottom = flat.top;
    EXPECT_TRUE(IsEmpty(empty));
    EXPECT_TRUE(IsEmpty(flat));
    EXPECT_FALSE(IsEmpty(a));
    const PixelRect u1 = Union(empty, a);
    const PixelRect u2 = Union(a, flat);
    const PixelRect u3 = Union(flat, empty);
    EXPECT_EQ(RecordingHooks::Four(u1.left, u1.top, u1.right, u1.bottom), "5,6,10,12");
    EXPECT_EQ(RecordingHooks::Four(u2.left, u2.top, u2.right, u2.bottom), "5,6,10,12");
    EXPECT_EQ(RecordingHooks::Four(u3.left, u3.top, u3.right, u3.bottom), "0,0,0,0");
}

}  // namespace
