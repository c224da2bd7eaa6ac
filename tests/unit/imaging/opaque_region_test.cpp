#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/bitmap_buffer.h"
#include "imaging/mask_region.h"
#include "unit/imaging/pixels.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

// The rectangles of a region as the platform gives them back, "left,top,right,bottom" each.
std::string RectsOf(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<BYTE> data(size);
    RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
    GetRegionData(region, size, rgn);
    const RECT* rects = reinterpret_cast<const RECT*>(rgn->Buffer);
    std::string text;
    for (DWORD i = 0; i < rgn->rdh.nCount; ++i) {
        text += " " + std::to_string(rects[i].left) + "," + std::to_string(rects[i].top) + "," +
                std::to_string(rects[i].right) + "," + std::to_string(rects[i].bottom);
    }
    return text;
}

// The picture's opaque region described as above; empty when none was made.
std::string OpaqueRectsOf(const BitmapBuffer& picture, COLORREF key) {
    HRGN region = picture.CreateOpaqueRegion(key);
    if (region == nullptr) {
        return "no region";
    }
    const std::string rects = RectsOf(region);
    DeleteObject(region);
    return rects;
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

TEST(OpaqueRegion, OneRectanglePerRunInReadingOrder) {
    BitmapBuffer picture;
    ASSERT_TRUE(picture.Create(6, 3, 24, RGB(1, 2, 3)));
    EXPECT_EQ(OpaqueRectsOf(picture, kKey), " 0,0,6,3");  // no key pixel: the whole picture
    // Line 0: no key pixel. Line 1: alternating. Line 2: only key pixels.
    for (int x = 0; x < 6; ++x) {
        if (x % 2 == 1) {
            SetPixelAt(picture, x, 1, kKey);
        }
        SetPixelAt(picture, x, 2, kKey);
    }
    EXPECT_EQ(OpaqueRectsOf(picture, kKey), " 0,0,6,1 0,1,1,2 2,1,3,2 4,1,5,2");
    ASSERT_TRUE(picture.Create(5, 4, 24, kKey));
    EXPECT_EQ(OpaqueRectsOf(picture, kKey), "");  // all key: an empty region
    // Other depths are compared at 24 bits: in a 1-bit picture with white as
    // the key, the black pixel is the one opaque spot.
    ASSERT_TRUE(picture.Create(700, 900, 1, RGB(255, 255, 255)));
    SetPixel(picture.Dc(), 650, 850, RGB(0, 0, 0));
    EXPECT_EQ(OpaqueRectsOf(picture, RGB(255, 255, 255)), " 650,850,651,851");

    BitmapBuffer empty;
    SetLastError(0xdeadbeef);
    EXPECT_EQ(empty.CreateOpaqueRegion(kKey), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
}

// More runs than one piece of the region holds: the joined pieces cover
// exactly the opaque pixels, and the bounding box is the opaque pixels' box.
TEST(OpaqueRegion, ManyRunsCoverExactlyTheOpaquePixels) {
    const int width = 41, height = 30;
    BitmapBuffer picture;
    ASSERT_TRUE(picture.Create(width, height, 24, RGB(1, 1, 1)));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((x + y) % 3 == 0 || x == 0 || y == height - 1) {
                SetPixelAt(picture, x, y, kKey);
            }
        }
    }
    HRGN region = picture.CreateOpaqueRegion(kKey);
    ASSERT_NE(region, nullptr);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(PtInRegion(region, x, y) != FALSE, (x + y) % 3 != 0 && x != 0 && y != height - 1) << x << "," << y;
        }
    }
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, width);
    EXPECT_EQ(box.bottom, height - 1);
    DeleteObject(region);
}

TEST(MaskRegion, BuildsWithTheChosenKeyOrTheTopLeftPixel) {
    SaverSettings settings("gleamo");
    BitmapBuffer picture;
    ASSERT_TRUE(picture.Create(4, 2, 24, RGB(9, 9, 9)));
    SetPixelAt(picture, 0, 0, RGB(7, 7, 7));
    SetPixelAt(picture, 3, 1, kKey);

    HRGN region = nullptr;
    BuildMaskRegion(settings, picture, region);  // useMask clear: nothing
    EXPECT_EQ(region, nullptr);

    settings.useMask = 1;
    BuildMaskRegion(settings, picture, region);  // key: the top-left pixel
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 3, 1));

    settings.useColor = 1;
    settings.maskColor = static_cast<int>(kKey);
    BuildMaskRegion(settings, picture, region);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 3, 1));

    settings.randomZoom = 1;
    HRGN kept = region;
    BuildMaskRegion(settings, picture, region);
    EXPECT_EQ(region, kept);

    HRGN clip = nullptr;
    RefreshClipRegion(settings, region, clip);  // random zoom: no clip
    EXPECT_EQ(clip, nullptr);
    settings.randomZoom = 0;
    RefreshClipRegion(settings, nullptr, clip);
    EXPECT_EQ(clip, nullptr);
    RefreshClipRegion(settings, region, clip);
    ASSERT_NE(clip, nullptr);
    EXPECT_TRUE(EqualRgn(clip, region));
    OffsetRgn(clip, 100, 100);
    HRGN sameClip = clip;
    RefreshClipRegion(settings, region, clip);  // overwritten in place, back at the origin
    EXPECT_EQ(clip, sameClip);
    EXPECT_TRUE(EqualRgn(clip, region));
    DeleteObject(clip);
    DeleteObject(region);
}

}  // namespace
