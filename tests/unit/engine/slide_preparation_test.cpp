#include "engine/slide_preparation.h"

#include <cmath>
#include <cstdlib>

#include "engine_fixture.h"
#include "support/test_pictures.h"

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);

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

// Each call starts from a reset motion. The last entry is a bare name: a file
// beside the program.
TEST_F(SlidePreparation, AnEmptyListShowsNothingAndUnreadableFilesCostOneCallEach) {
    motion.SetStart(5, 5);
    motion.SetStep(1.0, 1.0);
    EXPECT_FALSE(Prepare()) << "nothing to show";
    EXPECT_EQ(motion.StartX(), 0);
    EXPECT_DOUBLE_EQ(motion.StepX(), 0.0);
    EXPECT_DOUBLE_EQ(motion.ZoomIn(), 1.0);
    EXPECT_TRUE(layer.IsPictureEmpty());

    Write("red.bmp", SolidBmp24(40, 30, RED));
    for (const std::string& entry : {Write("really-a-gif.bmp", "gif89a...."), Write("broken.jpg", "not a picture"),
                                     folder / "missing.bmp", std::string("red.bmp")}) {
        ASSERT_TRUE(settings->pictureFiles.Add(entry.c_str()));
    }
    for (int call = 0; call < 3; ++call) {
        EXPECT_FALSE(Prepare()) << call;
    }
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(layer.PictureWidth(), 40);
    EXPECT_EQ(layer.PictureHeight(), 30);
}

// A photo whose camera recorded "turn clockwise" is shown upright: what was
// its left side is its top.
TEST_F(SlidePreparation, APhotoIsTurnedAsItsExifOrientationSays) {
    const std::string path = folder / "portrait.jpg";
    if (!WriteJpeg(path, 32, 16, [](int x, int) { return x < 16 ? RGB(0, 0, 0) : RGB(255, 255, 255); }, 6)) {
        GTEST_SKIP() << "no JPEG encoder on this platform";
    }
    ASSERT_TRUE(settings->pictureFiles.Add(path.c_str()));
    ASSERT_TRUE(Prepare());
    ASSERT_EQ(layer.PictureWidth(), 16);
    ASSERT_EQ(layer.PictureHeight(), 32);
    BitmapBuffer shown;
    ASSERT_TRUE(shown.Create(16, 32, 24, RGB(128, 128, 128)));
    ASSERT_TRUE(layer.DrawBlended(shown.Dc(), 0, 0, 0, SRCCOPY, 1.0));
    EXPECT_LT(GetRValue(GetPixel(shown.Dc(), 8, 4)), 40);
    EXPECT_GT(GetRValue(GetPixel(shown.Dc(), 8, 27)), 215);
}

// The limits shrink a picture keeping its shape; the preview shrinks it again,
// and its steps with it.
TEST_F(SlidePreparation, LimitsAndThePreviewShrinkPicturesAndSteps) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("big.bmp", SolidBmp24(1280, 960, RED)).c_str()));
    settings->maxWidth = 640;
    settings->maxHeight = 640;
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(layer.PictureWidth(), 640);
    EXPECT_EQ(layer.PictureHeight(), 480);

    // A centred picture starts in the middle and moves all the same.
    settings->center = 1;
    settings->move = 1;
    std::srand(3);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(Prepare(0.25));
        EXPECT_EQ(layer.PictureWidth(), 160);
        EXPECT_EQ(layer.PictureHeight(), 120);
        EXPECT_EQ(motion.StartX(), (640 - 160) / 2);
        EXPECT_EQ(motion.StartY(), (480 - 120) / 2);
        EXPECT_TRUE(motion.StepX() != 0.0 || motion.StepY() != 0.0);
        for (double step : {motion.StepX(), motion.StepY()}) {
            EXPECT_LE(std::fabs(step), 0.75);
            EXPECT_DOUBLE_EQ(std::fmod(step, 0.25), 0.0);
        }
    }
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

}  // namespace
