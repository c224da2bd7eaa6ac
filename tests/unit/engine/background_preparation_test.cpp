#include "engine/background_preparation.h"

#include "engine_fixture.h"
#include "support/test_pictures.h"
#include "unit/imaging/pixels.h"

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);

// A different colour in each quadrant, so that tiling and stretching show.
COLORREF Quadrant(int x, int y, int size) { return RGB(x < size / 2 ? 200 : 0, y < size / 2 ? 200 : 0, 100); }

class BackgroundPreparation : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        settings->backScreen = 0;
        settings->backUsePic = 1;
        settings->backTile = 1;
    }
    void UsePicture(const std::string& name, const std::string& bytes) {
        Write(name, bytes);
        lstrcpyA(settings->backPath, name.c_str());
    }
};

// In the preview tiles shrink with it, so that it shows what the screen would.
TEST_F(BackgroundPreparation, TilesRepeatFromTheTopLeftCornerAndShrinkWithThePreview) {
    MakeWindow(250, 120);
    UsePicture("tile.bmp", Bmp24(100, 100, [](int x, int y) { return Quadrant(x, y, 100); }));
    for (int tile : {100, 50}) {
        ASSERT_TRUE(PrepareBackground(layer, *settings, window, tile / 100.0));
        for (POINT p : {POINT{0, 0}, POINT{60, 10}, POINT{110, 70}, POINT{249, 119}, POINT{201, 101}, POINT{149, 99}}) {
            EXPECT_EQ(BackgroundPixel(p.x, p.y), Quadrant(p.x % tile, p.y % tile, tile))
                << "tile " << tile << " at " << p.x << "," << p.y;
        }
    }
}

TEST_F(BackgroundPreparation, AStretchedPictureCoversTheAreaOnce) {
    settings->backTile = 0;
    UsePicture("stretch.bmp", Bmp24(4, 4, [](int x, int y) { return Quadrant(x, y, 4); }));
    ASSERT_TRUE(PrepareBackground(layer, *settings, window, 1.0));
    EXPECT_EQ(BackgroundPixel(10, 10), Quadrant(0, 0, 4));
    EXPECT_EQ(BackgroundPixel(630, 10), Quadrant(3, 0, 4));
    EXPECT_EQ(BackgroundPixel(10, 470), Quadrant(0, 3, 4));
    EXPECT_EQ(BackgroundPixel(630, 470), Quadrant(3, 3, 4));
}

// Larger than the window both ways, a picture is shrunk by averaging: a
// one-pixel checkerboard twice the window's size becomes an even grey.
TEST_F(BackgroundPreparation, APictureLargerThanTheWindowIsShrunkByAveraging) {
    settings->backTile = 0;
    UsePicture("fine.bmp", Bmp24(1280, 960, [](int x, int y) { return (x + y) % 2 != 0 ? RGB(255, 255, 255) : 0; }));
    ASSERT_TRUE(PrepareBackground(layer, *settings, window, 1.0));
    for (const POINT p : {POINT{0, 0}, POINT{321, 123}, POINT{639, 479}}) {
        EXPECT_EQ(BackgroundPixel(p.x, p.y), RGB(128, 128, 128)) << p.x << "," << p.y;
    }
}

// Files deeper than 8 bits may carry a colour table, a palette suggested for
// 256-colour displays; their pixels hold the colours all the same.
TEST_F(BackgroundPreparation, BrightnessShiftsThePictureWhateverTableItCarries) {
    const COLORREF dim = RGB(10, 20, 250);
    const std::string table = Bytes().U32(0x00FFFFFF).U32(0x00000000).text;
    // Two lines of two dim pixels each, as the files store them.
    const std::string line24 = Bytes().U8(250).U8(20).U8(10).U8(250).U8(20).U8(10).U16(0).text;
    const std::string line32 = Bytes().U32(0x000A14FA).U32(0x000A14FA).text;
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"plain.bmp", SolidBmp24(10, 10, dim)},
        {"table24.bmp", BmpFileBytes(Bytes().Info(2, 2, 24, BI_RGB, 0, 2).text + table + line24 + line24, 14 + 40 + 8)},
        {"table32.bmp", BmpFileBytes(Bytes().Info(2, 2, 32, BI_RGB, 0, 2).text + table + line32 + line32, 14 + 40 + 8)},
    };
    settings->backBright = 40;
    for (const auto& file : files) {
        UsePicture(file.name, file.bytes);
        ASSERT_TRUE(PrepareBackground(layer, *settings, window, 1.0)) << file.name;
        EXPECT_EQ(BackgroundPixel(5, 5), RGB(50, 60, 255)) << file.name;
    }
}

TEST_F(BackgroundPreparation, AMissingOrRefusedPictureFallsBackToWhiteNotTheColour) {
    settings->backColor = 0x0000FF;
    Write("animated.bmp", "GIF89a rest of a gif");
    for (const char* path : {"", "animated.bmp", "no-such-file.bmp"}) {
        lstrcpyA(settings->backPath, path);
        SlideLayer fresh;
        ASSERT_TRUE(PrepareBackground(fresh, *settings, window, 1.0)) << path;
        EXPECT_EQ(GetPixel(fresh.BackgroundDc(), 100, 100), WHITE) << path;
    }
}

}  // namespace
