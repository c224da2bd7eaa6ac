#include "engine/slide_preparation.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <wincodec.h>

#include "base/test_hooks.h"
#include "engine_fixture.h"
#include "imaging/wic_picture.h"
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

    std::pair<int, int> Shown() const { return {layer.PictureWidth(), layer.PictureHeight()}; }

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
    EXPECT_EQ(Shown(), std::make_pair(40, 30));
}

// A photo whose camera recorded "turn clockwise" is shown upright: what was
// its left side is its top. Over the limit, it is decoded straight to the
// size it is shown at, which is the upright shape's, not the stored one's.
// The EXIF block may follow colour profiles of 64 KB each, and a TIFF keeps
// the orientation in its own IFD. Without the imaging component the OLE
// loader reads the JPEGs (Wine's refuses TIFF). Wine's JPEG decoder reports
// no metadata, so there the file's own segments are read either way.
TEST_F(SlidePreparation, APhotoIsTurnedAsItsExifOrientationSays) {
    auto halves = [](int x, int) { return x < 32 ? RGB(0, 0, 0) : RGB(255, 255, 255); };
    const std::string path = folder / "portrait.jpg", late = folder / "late-exif.jpg";
    if (!WriteJpeg(path, 64, 32, halves, 6)) {
        GTEST_SKIP() << "no JPEG encoder on this platform";
    }
    std::string profiles;
    for (int segment = 0; segment < 3; ++segment) {
        profiles += std::string("\xFF\xE2\xFF\xF0", 4) + std::string(0xFFEE, 'p');  // APP2, 64 KB
    }
    std::string bytes = ReadFileBytes(path);
    bytes.insert(2, profiles);
    ASSERT_TRUE(WriteFileBytes(late, bytes));
    const std::string tiff = Write("portrait.tif", Tiff24(64, 32, halves, 6));
    const struct {
        std::string path;
        bool imagingComponent;
    } cases[] = {{path, true}, {late, true}, {tiff, true}, {path, false}, {late, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(settings->pictureFiles.Add(c.path.c_str()));
        ASSERT_TRUE(settings->pictureFiles.Add(c.path.c_str()));
    }
    for (const auto& c : cases) {
        Hooks().imagingComponentMissing = !c.imagingComponent;
        for (int limit : {0, 48}) {
            const std::string what = c.path + (c.imagingComponent ? " " : " (OLE) ") + std::to_string(limit);
            settings->maxWidth = settings->maxHeight = limit;
            ASSERT_TRUE(Prepare()) << what;
            const int width = limit == 0 ? 32 : 24, height = limit == 0 ? 64 : 48;
            ASSERT_EQ(Shown(), std::make_pair(width, height)) << what;
            BitmapBuffer shown;
            ASSERT_TRUE(shown.Create(width, height, 24, RGB(128, 128, 128)));
            ASSERT_TRUE(layer.DrawBlended(shown.Dc(), 0, 0, 0, SRCCOPY, 1.0));
            EXPECT_LT(GetRValue(GetPixel(shown.Dc(), width / 2, height / 8)), 40) << what;
            EXPECT_GT(GetRValue(GetPixel(shown.Dc(), width / 2, height * 7 / 8)), 215) << what;
        }
    }
}

// Which decoder reads which format, with or without the imaging component,
// the EXIF test shows.
TEST_F(SlidePreparation, TheTransparentPartsOfAPictureLieOverWhite) {
    const std::string png = folder / "half.png";
    if (!WriteEncodedPicture(png, GUID_ContainerFormatPng, 40, 20, [](int, int) { return RGB(0, 160, 0); },
                             [](int x, int) { return static_cast<BYTE>(x < 20 ? 0 : 255); })) {
        GTEST_SKIP() << "the platform lacks an encoder";
    }
    ASSERT_TRUE(settings->pictureFiles.Add(png.c_str()));
    ASSERT_TRUE(Prepare());
    BitmapBuffer shown;
    ASSERT_TRUE(shown.Create(layer.PictureWidth(), layer.PictureHeight(), 24, RGB(1, 2, 3)));
    ASSERT_TRUE(layer.DrawBlended(shown.Dc(), 0, 0, 0, SRCCOPY, 1.0));
    EXPECT_EQ(GetPixel(shown.Dc(), 5, 10), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(shown.Dc(), 35, 10), RGB(0, 160, 0));
}

TEST_F(SlidePreparation, LimitsAndThePreviewShrinkPicturesAndSteps) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("big.bmp", SolidBmp24(1280, 960, RED)).c_str()));
    settings->maxWidth = 640;
    settings->maxHeight = 640;
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(Shown(), std::make_pair(640, 480));

    // A centred picture starts in the middle and moves all the same.
    settings->center = 1;
    settings->move = 1;
    std::srand(3);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(Prepare(0.25));
        EXPECT_EQ(Shown(), std::make_pair(160, 120));
        EXPECT_EQ(motion.StartX(), (640 - 160) / 2);
        EXPECT_EQ(motion.StartY(), (480 - 120) / 2);
        EXPECT_TRUE(motion.StepX() != 0.0 || motion.StepY() != 0.0);
        for (double step : {motion.StepX(), motion.StepY()}) {
            EXPECT_LE(std::fabs(step), 0.75);
            EXPECT_DOUBLE_EQ(std::fmod(step, 0.25), 0.0);
        }
    }
}

// A picture with a transparent colour keeps exact pixels, shrunk to the
// limits or enlarged for a monitor scaled to 125 % or 150 %: averaging would
// mix the key into its neighbours, and those pixels, matching neither, would
// show as a fringe of the key colour. Without one, a photo over the limit is
// shrunk by averaging the area each pixel covers, and an enlarged one blends
// neighbours, where repeating pixels would make some columns one pixel wide
// and others two; at 100 % nothing is stretched at all.
TEST_F(SlidePreparation, OnlyPicturesWithoutATransparentColourAreResizedByBlending) {
    constexpr COLORREF KEY = RGB(255, 0, 255);
    auto stripes = [](int x, int) { return x % 2 != 0 ? KEY : RED; };
    std::vector<std::string> files = {Write("stripes.bmp", Bmp24(100, 60, stripes))};
    if (WriteEncodedPicture(folder / "stripes.png", GUID_ContainerFormatPng, 100, 60, stripes)) {
        files.push_back(folder / "stripes.png");
    }
    settings->useColor = 1;
    settings->maskColor = static_cast<int>(KEY);
    const struct {
        int limit;
        double dpiScale;
        int useMask, width;
        bool blended;
    } cases[] = {{40, 1.0, 1, 40, false},  {40, 1.0, 0, 40, true},   {0, 1.25, 0, 125, true}, {0, 1.5, 0, 150, true},
                 {0, 1.25, 1, 125, false}, {0, 1.5, 1, 150, false}, {0, 1.0, 0, 100, false}};
    for (const auto& c : cases) {
        for (const std::string& file : files) {
            const std::string what = file + " at " + std::to_string(c.dpiScale) + (c.useMask ? " keyed" : "");
            settings->useMask = c.useMask;
            settings->maxWidth = settings->maxHeight = c.limit;
            const PictureLimit limit = SlideLimit(*settings, 1.0, c.dpiScale);
            PictureBuffer work;
            ASSERT_TRUE(LoadPictureFile(work, settings->moduleDir, Wide(file).c_str(), &limit)) << what;
            ASSERT_EQ(work.Width(), c.width) << what;
            int blends = 0;
            for (int x = 0; x < work.Width(); ++x) {
                const COLORREF pixel = GetPixel(work.Dc(), x, work.Height() / 2);
                blends += pixel != KEY && pixel != RED ? 1 : 0;
                if (c.dpiScale == 1.0 && c.limit == 0) {
                    ASSERT_EQ(pixel, stripes(x, 0)) << x;
                }
            }
            if (c.blended) {
                EXPECT_GT(blends, work.Width() / 2) << what;
            } else {
                EXPECT_EQ(blends, 0) << what;
            }
        }
    }
}

// A zoomed picture is drawn without a clip: the transparent colour's region
// is made only when one is asked for and random zoom is off.
TEST_F(SlidePreparation, ATransparentColourRegionIsMadeOnlyWithRandomZoomOff) {
    ASSERT_TRUE(settings->pictureFiles.Add(Write("red.bmp", SolidBmp24(40, 30, RED)).c_str()));
    settings->useColor = 1;
    settings->maskColor = static_cast<int>(RGB(0, 0, 255));
    const struct {
        int useMask, randomZoom;
        bool region;
    } cases[] = {{0, 0, false}, {1, 0, true}, {1, 1, false}, {0, 1, false}};
    for (const auto& c : cases) {
        settings->useMask = c.useMask;
        settings->randomZoom = c.randomZoom;
        if (maskRegion != nullptr) {
            DeleteObject(maskRegion);
            maskRegion = nullptr;
        }
        ASSERT_TRUE(Prepare());
        EXPECT_EQ(maskRegion != nullptr, c.region) << "useMask " << c.useMask << ", randomZoom " << c.randomZoom;
    }
}

// On a stage (one monitor of several, here the right one of two, scaled to
// 150 %) a picture is centred on that monitor or starts at random within it,
// and turns away from that monitor's near edge, not the window's.
TEST_F(SlidePreparation, APictureIsPlacedWithinItsStage) {
    const SlideStage stage = {640, 100, 400, 300, 1.5};
    settings->move = 1;
    std::srand(5);
    for (int center : {1, 0}) {
        settings->center = center;
        for (int i = 0; i < 30; ++i) {
            PictureBuffer work;
            ASSERT_TRUE(work.Create(100, 80, 24, RED));
            ASSERT_TRUE(PlaceNextSlide(motion, layer, maskRegion, *settings, stage, 1.0, std::rand, work));
            if (center) {
                EXPECT_EQ(motion.StartX(), 640 + 150);
                EXPECT_EQ(motion.StartY(), 100 + 110);
            } else {
                EXPECT_GE(motion.StartX(), 640);
                EXPECT_LE(motion.StartX(), 640 + 300);
                EXPECT_GE(motion.StartY(), 100);
                EXPECT_LE(motion.StartY(), 100 + 220);
                if (motion.StartX() - 640 < 100) {
                    EXPECT_GE(motion.StepX(), 0.0) << "near the stage's left edge at " << motion.StartX();
                }
            }
            EXPECT_DOUBLE_EQ(std::fmod(motion.StepX(), 1.5), 0.0) << "steps grow with the stage's scale";
        }
    }
}

}  // namespace
