#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "imaging/bitmap_buffer.h"
#include "imaging/mask_region.h"
#include "unit/imaging/pixels.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

// The region holds a pixel of the 24-bit picture exactly when the pixel is
// not of the key, and nothing outside the picture.
void ExpectOpaqueRegion(const BitmapBuffer& picture, COLORREF key) {
    HRGN region = picture.CreateOpaqueRegion(key);
    ASSERT_NE(region, nullptr);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= picture.Width() && box.bottom <= picture.Height());
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            ASSERT_EQ(PtInRegion(region, x, y) != FALSE, PixelAt(picture, x, y) != key) << x << "," << y;
        }
    }
    DeleteObject(region);
}

TEST(ColorKeyMask, MarksExactMatchesWhiteOrBlack) {
    BitmapBuffer source;
    ASSERT_TRUE(source.Create(3, 1, 24, kKey));
    SetPixelAt(source, 1, 0, RGB(254, 0, 255));  // one unit off: not the key
    BitmapBuffer mask;
    for (BOOL invert : {FALSE, TRUE}) {
        ASSERT_TRUE(mask.CreateColorKeyMask(source, kKey, 24, invert));
        EXPECT_EQ(PixelAt(mask, 0, 0), invert ? RGB(0, 0, 0) : RGB(255, 255, 255));
        EXPECT_EQ(PixelAt(mask, 1, 0), invert ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
    ASSERT_TRUE(mask.CreateColorKeyMask(source, kKey, 32, FALSE));
    EXPECT_EQ(mask.BitCount(), 32);
    GdiFlush();
    EXPECT_EQ(reinterpret_cast<const DWORD*>(mask.Bits())[0], 0x00FFFFFFu);
    EXPECT_EQ(reinterpret_cast<const DWORD*>(mask.Bits())[1], 0u);

    BitmapBuffer empty;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(mask.CreateColorKeyMask(empty, kKey, 24, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(mask.Dc(), nullptr);
}

TEST(OpaqueRegion, HoldsExactlyThePixelsNotOfTheKey) {
    BitmapBuffer picture;
    ASSERT_TRUE(picture.Create(6, 3, 24, RGB(1, 2, 3)));
    ExpectOpaqueRegion(picture, kKey);  // no key pixel: the whole picture
    ASSERT_TRUE(picture.Create(5, 4, 24, kKey));
    ExpectOpaqueRegion(picture, kKey);  // all key: an empty region

    // More runs than one piece of the region holds, the first line with the
    // most runs a line can have: the pieces must join up exactly.
    ASSERT_TRUE(picture.Create(41, 30, 24, RGB(1, 1, 1)));
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 41; ++x) {
            if (y == 0 ? x % 2 == 1 : ((x + y) % 3 == 0 || x == 0 || y == 29)) {
                SetPixelAt(picture, x, y, kKey);
            }
        }
    }
    ExpectOpaqueRegion(picture, kKey);

    // Other depths are compared at 24 bits, a band at a time: in a 1-bit
    // picture taller than a band, with white as the key, the black pixel is
    // the one opaque spot.
    ASSERT_TRUE(picture.Create(700, 900, 1, RGB(255, 255, 255)));
    SetPixel(picture.Dc(), 650, 850, RGB(0, 0, 0));
    HRGN region = picture.CreateOpaqueRegion(RGB(255, 255, 255));
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), SIMPLEREGION);
    EXPECT_EQ(std::make_tuple(box.left, box.top, box.right, box.bottom), std::make_tuple(650, 850, 651, 851));
    DeleteObject(region);
}

TEST(MaskRegion, BuildsWithTheChosenKeyOrTheTopLeftPixel) {
    BitmapBuffer picture;
    ASSERT_TRUE(picture.Create(4, 2, 24, RGB(9, 9, 9)));
    SetPixelAt(picture, 0, 0, RGB(7, 7, 7));
    SetPixelAt(picture, 3, 1, kKey);

    HRGN region = nullptr;
    BuildMaskRegion(picture, false, kKey, region);  // key: the top-left pixel
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 3, 1));

    BuildMaskRegion(picture, true, kKey, region);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 3, 1));

    HRGN clip = nullptr;
    RefreshClipRegion(nullptr, clip);
    EXPECT_EQ(clip, nullptr);
    RefreshClipRegion(region, clip);
    ASSERT_NE(clip, nullptr);
    EXPECT_TRUE(EqualRgn(clip, region));
    OffsetRgn(clip, 100, 100);
    HRGN sameClip = clip;
    RefreshClipRegion(region, clip);  // overwritten in place, back at the origin
    EXPECT_EQ(clip, sameClip);
    EXPECT_TRUE(EqualRgn(clip, region));
    DeleteObject(clip);
    DeleteObject(region);
}

}  // namespace
