#include "imaging/caption_stamp.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/bitmap_buffer.h"
#include "pixels.h"

namespace {

const char16_t kCaption[] = u"2023年8月12日\u3000北海道旅行";
constexpr size_t kLength = sizeof kCaption / sizeof kCaption[0] - 1;

// Pixels of rows top..bottom - 1 whose every channel lies in low..high.
int CountWithin(const BitmapBuffer& picture, int top, int bottom, int low, int high) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const COLORREF c = PixelAt(picture, x, y);
            const int least = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
            const int most = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
            count += least >= low && most <= high;
        }
    }
    return count;
}

int CountColor(const BitmapBuffer& picture, int top, int bottom, COLORREF color) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            count += PixelAt(picture, x, y) == color;
        }
    }
    return count;
}

// On a white and on a black picture the caption shows light text and a dark
// outline in the bottom band and leaves the rest alone; a picture too small
// for it gets none.
TEST(CaptionStamp, LightAndDarkAtTheBottomOnWhiteAndBlackAndNoneInASmallPicture) {
    const struct {
        int width, height;
        WORD bits;
        COLORREF fill;
        bool drawn;
    } cases[] = {
        {400, 300, 8, RGB(255, 255, 255), true},  // brought to 24 bits
        {400, 300, 24, RGB(0, 0, 0), true},
        {150, 112, 24, RGB(90, 90, 90), false},
    };
    for (const auto& c : cases) {
        BitmapBuffer picture;
        ASSERT_TRUE(picture.Create(c.width, c.height, c.bits, c.fill));
        EXPECT_EQ(StampCaption(picture, kCaption, kLength, 1.0, nullptr), c.drawn) << c.fill;
        const int band = c.height * 3 / 4;
        EXPECT_EQ(CountColor(picture, 0, c.drawn ? band : c.height, c.fill), c.width * (c.drawn ? band : c.height));
        if (c.drawn) {
            EXPECT_EQ(picture.BitCount(), 24);
            EXPECT_GT(CountWithin(picture, band, c.height, 0, 48), 0) << "outline";
            EXPECT_GT(CountWithin(picture, band, c.height, 208, 255), 0) << "text";
            EXPECT_LT(CountColor(picture, band, c.height, c.fill), c.width * (c.height - band)) << "caption";
        }
    }
}

// With white as the transparent colour, the caption's white text is a step
// of blue off it, over a black picture and over a white (transparent) one
// alike, and the picture's own pixels around the letters keep their colour.
TEST(CaptionStamp, TheCaptionKeepsOffTheTransparentColor) {
    const COLORREF white = RGB(255, 255, 255);
    for (COLORREF fill : {RGB(0, 0, 0), white}) {
        BitmapBuffer picture;
        BitmapBuffer plain;
        ASSERT_TRUE(picture.Create(400, 300, 24, fill));
        ASSERT_TRUE(plain.Create(400, 300, 24, fill));
        ASSERT_TRUE(StampCaption(picture, kCaption, kLength, 1.0, &white));
        ASSERT_TRUE(StampCaption(plain, kCaption, kLength, 1.0, nullptr));
        int whiteInPicture = 0, whiteInPlain = 0;
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 400; ++x) {
                const COLORREF p = PixelAt(picture, x, y), q = PixelAt(plain, x, y);
                whiteInPicture += p == white;
                whiteInPlain += q == white;
                if (p != q) {
                    ASSERT_TRUE(q == white && p == RGB(255, 255, 254)) << x << "," << y;
                }
            }
        }
        EXPECT_LT(whiteInPicture, whiteInPlain) << fill;
        EXPECT_GT(whiteInPicture, fill == white ? 400 * 200 : -1) << "the picture around the caption keeps its colour";
    }
}

}  // namespace
