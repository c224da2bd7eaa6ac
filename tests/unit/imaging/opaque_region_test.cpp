#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/bitmap_buffer.h"
#include "imaging/mask_region.h"
#include "unit/imaging/pixels.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

// The rectangles of a region, as the platform gives them back.
std::vector<RECT> RectsOf(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<BYTE> data(size);
    RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
    GetRegionData(region, size, rgn);
    const RECT* rects = reinterpret_cast<const RECT*>(rgn->Buffer);
    return std::vector<RECT>(rects, rects + rgn->rdh.nCount);
}

TEST(ColorKeyMask, MarksExactMatchesWhiteOrBlack) {
    BitmapBuffer source;
    ASSERT_TRUE(source.Create(3, 1, 24, kKey));
    SetPixelAt(source, 1, 0, RGB(254, 0, 255));  // one unit off: not the key
    BitmapBuffer mask;
    ASSERT_TRUE(mask.CreateColorKeyMask(source, kKey, 24, FALSE));
    EXPECT_EQ(PixelAt(mask, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(mask, 1, 0), RGB(0, 0, 0));
    ASSERT_TRUE(mask.CreateColorKeyMask(source, kKey, 24, TRUE));
    EXPECT_EQ(PixelAt(mask, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(mask, 1, 0), RGB(255, 255, 255));
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
    // Line 0: no key pixel. Line 1: alternating. Line 2: only key pixels.
    for (int x = 0; x < 6; ++x) {
        if (x % 2 == 1) {
            SetPixelAt(picture, x, 1, kKey);
        }
        SetPixelAt(picture, x, 2, kKey);
    }
    HRGN region = picture.CreateOpaqueRegion(kKey);
    ASSERT_NE(region, nullptr);
    const std::vector<RECT> rects = RectsOf(region);
    DeleteObject(region);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0].left, 0);
    EXPECT_EQ(rects[0].right, 6);
    EXPECT_EQ(rects[0].top, 0);
    EXPECT_EQ(rects[0].bottom, 1);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(rects[i].left, 2 * (i - 1));
        EXPECT_EQ(rects[i].right, 2 * (i - 1) + 1);
        EXPECT_EQ(rects[i].top, 1);
    }
}

TEST(OpaqueRegion, AllKeyGivesAnEmptyRegionAndOtherDepthsAreComparedAtTwentyFourBits) {
    BitmapBuffer picture;
    ASSERT_TRUE(picture.Create(5, 4, 24, kKey));
    HRGN region = picture.CreateOpaqueRegion(kKey);
    ASSERT_NE(region, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), NULLREGION);
    DeleteObject(region);

    // A 1-bit picture: white is the key, the black pixel is the one opaque spot.
    BitmapBuffer mono;
    ASSERT_TRUE(mono.Create(700, 900, 1, RGB(255, 255, 255)));
    SetPixel(mono.Dc(), 650, 850, RGB(0, 0, 0));
    region = mono.CreateOpaqueRegion(RGB(255, 255, 255));
    ASSERT_NE(region, nullptr);
    const std::vector<RECT> rects = RectsOf(region);
    DeleteObject(region);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].left, 650);
    EXPECT_EQ(rects[0].top, 850);

    BitmapBuffer empty;
    SetLastError(0xdeadbeef);
    EXPECT_EQ(empty.CreateOpaqueRegion(kKey), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
}

TEST(OpaqueRegion, ManyRunsGiveTheSameRegionAsOneDescriptionOfThemAll) {
    const int width = 41, height = 30;
    BitmapBuffer picture;
    ASSERT_TRUE(picture.Create(width, height, 24, RGB(1, 1, 1)));
    std::vector<RECT> runs;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((x + y) % 3 == 0) {
                SetPixelAt(picture, x, y, kKey);
            }
        }
        for (int x = 0; x < width;) {
            while (x < width && (x + y) % 3 == 0) {
                ++x;
            }
            int end = x;
            while (end < width && (end + y) % 3 != 0) {
                ++end;
            }
            if (end > x) {
                runs.push_back({x, y, end, y + 1});
            }
            x = end;
        }
    }
    ASSERT_GT(runs.size(), 300u);
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATA* description = reinterpret_cast<RGNDATA*>(data.data());
    description->rdh.dwSize = sizeof(RGNDATAHEADER);
    description->rdh.iType = RDH_RECTANGLES;
    description->rdh.nCount = static_cast<DWORD>(runs.size());
    description->rdh.nRgnSize = static_cast<DWORD>(data.size());
    SetRect(&description->rdh.rcBound, 0, 0, width, height);
    memcpy(description->Buffer, runs.data(), runs.size() * sizeof(RECT));
    HRGN expected = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), description);
    HRGN region = picture.CreateOpaqueRegion(kKey);
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(EqualRgn(region, expected));
    DeleteObject(region);
    DeleteObject(expected);
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
