#include "imaging/slide_layer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "unit/imaging/pixels.h"

namespace {

constexpr COLORREF kPicture = RGB(40, 100, 200), kBack = RGB(240, 20, 100), kTarget = RGB(1, 2, 3);

struct Stage {
    explicit Stage(BlendKernelSet set, int pictureWidth = 10, int pictureHeight = 6) : layer(set) {
        EXPECT_TRUE(picture.Create(pictureWidth, pictureHeight, 24, kPicture));
        EXPECT_TRUE(back.Create(50, 40, 24, kBack));
        EXPECT_TRUE(target.Create(50, 40, 24, kTarget));
        EXPECT_TRUE(layer.SetPicture(picture, 0.0));
        EXPECT_TRUE(layer.SetBackground(back, 50, 40, FALSE));
    }
    SlideLayer layer;
    BitmapBuffer picture, back, target;
};

TEST(SlideLayer, LevelsClampAndTheEndsOfEachForm) {
    for (BlendKernelSet set : {BlendKernelSet::kBytewise, BlendKernelSet::kPackedScalar, WidestPackedKernelSet()}) {
        Stage s(set);
        ASSERT_TRUE(s.layer.DrawBlended(s.target.Dc(), -5, 3, 4, SRCCOPY, 1.0));
        EXPECT_EQ(PixelAt(s.target, 3, 4), kPicture);
        EXPECT_EQ(PixelAt(s.target, 12, 9), kPicture);
        EXPECT_EQ(PixelAt(s.target, 13, 9), kTarget);  // the spare columns are never shown

        ASSERT_TRUE(s.layer.DrawBlended(s.target.Dc(), 300, 3, 4, SRCCOPY, 1.0));
        // The packed form stops one short wherever the background's byte is the larger.
        EXPECT_EQ(PixelAt(s.target, 12, 9), set == BlendKernelSet::kBytewise ? kBack : RGB(239, 20, 100));
    }
}

TEST(SlideLayer, OnlyThePartOnTheBackgroundIsBlended) {
    Stage s(BlendKernelSet::kPackedScalar);
    BitmapBuffer wide;
    ASSERT_TRUE(wide.Create(80, 60, 24, kTarget));
    // At (-5, 37) on the 50 x 40 background, the picture's columns 0..4 and
    // lines 3..5 lie off it and are not blended.
    ASSERT_TRUE(s.layer.DrawBlendedAt(wide.Dc(), 255, 20, 20, -5, 37, SRCCOPY, 1.0));
    EXPECT_EQ(PixelAt(wide, 20 + 4, 20), kPicture);
    EXPECT_NE(PixelAt(wide, 20 + 5, 22), kPicture);
    EXPECT_EQ(PixelAt(wide, 20 + 5, 23), kPicture);
    EXPECT_TRUE(s.layer.DrawBlendedAt(wide.Dc(), 255, 0, 0, 1000, -1000, SRCCOPY, 1.0));
}

TEST(SlideLayer, WithoutBackgroundTheFadeGoesToWhite) {
    for (BlendKernelSet set : {BlendKernelSet::kBytewise, WidestPackedKernelSet()}) {
        SlideLayer layer(set);
        BitmapBuffer picture, target;
        ASSERT_TRUE(picture.Create(1, 2, 24, kPicture));
        ASSERT_TRUE(target.Create(4, 4, 24, kTarget));
        ASSERT_TRUE(layer.SetPicture(picture, 0.0));
        EXPECT_TRUE(layer.IsBackgroundEmpty());
        ASSERT_TRUE(layer.DrawBlended(target.Dc(), 255, 1, 1, SRCCOPY, 1.0));
        EXPECT_EQ(PixelAt(target, 1, 1), RGB(255, 255, 255));
        EXPECT_EQ(PixelAt(target, 1, 2), RGB(255, 255, 255));
        EXPECT_EQ(PixelAt(target, 2, 1), kTarget);
        ASSERT_TRUE(layer.DrawBlended(target.Dc(), 60, 1, 1, SRCCOPY, 1.0));
        EXPECT_EQ(PixelAt(target, 1, 1), RGB(100, 160, 255));
    }
}

TEST(SlideLayer, ZoomIsLimitedAndTruncated) {
    Stage s(BlendKernelSet::kPackedScalar, 101, 4);
    // maxZoom 0: the zoom argument changes nothing.
    ASSERT_TRUE(s.layer.DrawBlended(s.target.Dc(), 0, 0, 0, SRCCOPY, 3.0));
    EXPECT_EQ(PixelAt(s.target, 0, 4), kTarget);

    ASSERT_TRUE(s.layer.SetPicture(s.picture, 1.5));
    const struct {
        double zoom;
        int columns, lines;  // trunc(101 * zoom) x trunc(4 * zoom), the zoom at most 1.5
    } cases[] = {{2.0, 151, 6}, {0.5, 50, 2}, {-0.1, 0, 0}};
    for (const auto& c : cases) {
        BitmapBuffer big;
        ASSERT_TRUE(big.Create(200, 10, 24, kTarget));
        ASSERT_TRUE(s.layer.DrawBlended(big.Dc(), 0, 0, 0, SRCCOPY, c.zoom)) << c.zoom;
        if (c.columns > 0) {
            EXPECT_EQ(PixelAt(big, c.columns - 1, c.lines - 1), kPicture) << c.zoom;
        }
        EXPECT_EQ(PixelAt(big, c.columns, 0), kTarget) << c.zoom;
        EXPECT_EQ(PixelAt(big, 0, c.lines), kTarget) << c.zoom;
    }
}

TEST(SlideLayer, AnEmptyPictureOrBackgroundEmptiesTheLayer) {
    SlideLayer layer;
    BitmapBuffer empty, picture, target;
    ASSERT_TRUE(target.Create(4, 4, 24, kTarget));
    ASSERT_TRUE(picture.Create(5, 3, 8, RGB(255, 0, 0)));
    EXPECT_FALSE(layer.DrawBlended(target.Dc(), 0, 0, 0, SRCCOPY, 1.0));  // nothing to draw yet
    ASSERT_TRUE(layer.SetPicture(picture, 0.0));
    ASSERT_TRUE(layer.SetBackground(picture, 10, 10, FALSE));
    EXPECT_EQ(layer.PictureWidth(), 5);  // without the spare columns
    EXPECT_EQ(layer.BackgroundWidth(), 10);
    EXPECT_FALSE(layer.SetPicture(empty, 1.5));
    EXPECT_FALSE(layer.SetBackground(empty, 10, 10, FALSE));
    EXPECT_TRUE(layer.IsPictureEmpty());
    EXPECT_TRUE(layer.IsBackgroundEmpty());
    EXPECT_FALSE(layer.DrawBlended(target.Dc(), 0, 0, 0, SRCCOPY, 1.0));
}

}  // namespace
