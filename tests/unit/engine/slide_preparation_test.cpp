#include "engine/slide_preparation.h"

#include <cmath>
#include <cstdlib>

#include "engine_fixture.h"
#include "support/test_pictures.h"

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

class SlidePreparation : public EngineFixture {
protected:
    bool Prepare(double previewScale = 1.0) {
        return PrepareNextSlide(motion, layer, maskRegion, *settings, window, previewScale, std::rand);
    }
    void TearDown() override {
        if (maskRegion != nullptr) {
            DeleteObject(maskRegion);
        }
        EngineFixture::TearDown();
    }

    SlideMotion motion;
    HRGN maskRegion = nullptr;
};

TEST_F(SlidePreparation, NothingToShowLeavesTheMotionReset) {
    motion.SetStart(5, 5);
    motion.SetStep(1.0, 1.0);
    EXPECT_FALSE(Prepare());
    EXPECT_EQ(motion.StartX(), 0);
    EXPECT_DOUBLE_EQ(motion.StepX(), 0.0);
    EXPECT_DOUBLE_EQ(motion.ZoomIn(), 1.0);
    EXPECT_TRUE(layer.IsPictureEmpty());
}

TEST_F(SlidePreparation, GifAndUnreadableFilesCostOneCallEachThenTheNextFileIsShown) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("really-a-gif.bmp", "gif89a....").c_str()));
    ASSERT_TRUE(settings->pictureFiles.Add(Write("broken.jpg", "not a picture at all").c_str()));
    ASSERT_TRUE(settings->pictureFiles.Add((folder / "missing.bmp").c_str()));
    ASSERT_TRUE(settings->pictureFiles.Add(Write("red.bmp", SolidBmp24(40, 30, RED)).c_str()));
    EXPECT_FALSE(Prepare());
    EXPECT_FALSE(Prepare());
    EXPECT_FALSE(Prepare());
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(layer.PictureWidth(), 40);
    EXPECT_EQ(layer.PictureHeight(), 30);
    EXPECT_EQ(ShownPixel(10, 10), RED);
}

TEST_F(SlidePreparation, ABareNameMeansAFileBesideTheProgram) {
    Write("beside.bmp", SolidBmp24(8, 8, BLUE));
    ASSERT_TRUE(settings->pictureFiles.Add("beside.bmp"));
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(ShownPixel(4, 4), BLUE);
}

TEST_F(SlidePreparation, LargePicturesShrinkToTheLimitsKeepingTheirShape) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("big.bmp", SolidBmp24(1280, 960, RED)).c_str()));
    settings->maxWidth = 640;
    settings->maxHeight = 640;
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(layer.PictureWidth(), 640);
    EXPECT_EQ(layer.PictureHeight(), 480);

    settings->maxWidth = 0;
    settings->maxHeight = 0;
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(layer.PictureWidth(), 1280) << "no limit: the picture keeps its size";
}

TEST_F(SlidePreparation, ThePreviewShrinksPicturesAndSteps) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("p.bmp", SolidBmp24(400, 200, RED)).c_str()));
    settings->move = 1;
    std::srand(3);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(Prepare(0.25));
        EXPECT_EQ(layer.PictureWidth(), 100);
        EXPECT_EQ(layer.PictureHeight(), 50);
        EXPECT_TRUE(motion.StepX() != 0.0 || motion.StepY() != 0.0);
        for (double step : {motion.StepX(), motion.StepY()}) {
            EXPECT_LE(std::fabs(step), 0.75);
            EXPECT_DOUBLE_EQ(std::fmod(step, 0.25), 0.0);
        }
    }
}

TEST_F(SlidePreparation, CentredPicturesStartInTheMiddleAndMayStillMove) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("c.bmp", SolidBmp24(101, 51, RED)).c_str()));
    settings->center = 1;
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(motion.StartX(), (640 - 101) / 2);
    EXPECT_EQ(motion.StartY(), (480 - 51) / 2);
    EXPECT_DOUBLE_EQ(motion.StepX(), 0.0) << "no movement unless asked";

    settings->move = 1;
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(motion.StartX(), 269);
    EXPECT_TRUE(motion.StepX() != 0.0 || motion.StepY() != 0.0);
}

TEST_F(SlidePreparation, RandomStartsKeepThePictureOnTheScreenAndMoveAwayFromNearEdges) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("r.bmp", SolidBmp24(100, 80, RED)).c_str()));
    settings->move = 1;
    std::srand(11);
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(Prepare());
        EXPECT_GE(motion.StartX(), 0);
        EXPECT_LE(motion.StartX(), 540);
        EXPECT_GE(motion.StartY(), 0);
        EXPECT_LE(motion.StartY(), 400);
        EXPECT_EQ(std::trunc(motion.StepX()), motion.StepX()) << "whole pixels on the full screen";
        if (motion.StartX() < 160 && 540 - motion.StartX() > motion.StartX()) {
            EXPECT_GE(motion.StepX(), 0.0) << "starts near the left edge at " << motion.StartX();
        }
        if (540 - motion.StartX() < 160 && 540 - motion.StartX() < motion.StartX()) {
            EXPECT_LE(motion.StepX(), 0.0) << "starts near the right edge at " << motion.StartX();
        }
    }
}

TEST_F(SlidePreparation, RandomZoomDrawsBothZoomsAndTurnsTransparencyOff) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("z.bmp", SolidBmp24(50, 50, RED)).c_str()));
    settings->randomZoom = 1;
    settings->useMask = 1;
    std::srand(5);
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(Prepare());
        for (double zoom : {motion.ZoomIn(), motion.ZoomOut()}) {
            EXPECT_GE(zoom, 0.5);
            EXPECT_LE(zoom, 1.5);
            EXPECT_NEAR(zoom * 100, std::round(zoom * 100), 1e-9);
        }
    }
    EXPECT_EQ(maskRegion, nullptr);
}

TEST_F(SlidePreparation, TheTopLeftColourBecomesTransparent) {
    const std::string path = Write("m.bmp", Bmp24(20, 10, [](int x, int) { return x < 5 ? BLUE : RED; }));
    ASSERT_TRUE(settings->pictureFiles.Add(path.c_str()));
    settings->useMask = 1;
    ASSERT_TRUE(Prepare());
    ASSERT_NE(maskRegion, nullptr);
    EXPECT_FALSE(PtInRegion(maskRegion, 0, 0));
    EXPECT_FALSE(PtInRegion(maskRegion, 4, 9));
    EXPECT_TRUE(PtInRegion(maskRegion, 5, 0));
    EXPECT_TRUE(PtInRegion(maskRegion, 19, 9));

    settings->useColor = 1;
    settings->maskColor = static_cast<int>(RED);
    ASSERT_TRUE(Prepare());
    ASSERT_NE(maskRegion, nullptr);
    EXPECT_TRUE(PtInRegion(maskRegion, 0, 0)) << "the chosen colour, not the corner, is transparent";
    EXPECT_FALSE(PtInRegion(maskRegion, 5, 0));
}

}  // namespace
