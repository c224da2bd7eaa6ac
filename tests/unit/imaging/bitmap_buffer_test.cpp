#include "imaging/bitmap_buffer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "unit/imaging/pixels.h"

namespace {

const RGBQUAD* TableOf(const BitmapBuffer& buffer) {
    const BYTE* start = reinterpret_cast<const BYTE*>(buffer.Info()) + sizeof(BITMAPINFOHEADER);
    if (buffer.Info()->bmiHeader.biCompression == BI_BITFIELDS) {
        start += 12;
    }
    return reinterpret_cast<const RGBQUAD*>(start);
}

const DWORD* MasksOf(const BitmapBuffer& buffer) {
    return reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(buffer.Info()) + sizeof(BITMAPINFOHEADER));
}

TEST(BitmapBuffer, NewObjectIsEmptyAndAnswersZero) {
    BitmapBuffer buffer;
    EXPECT_EQ(buffer.Dc(), nullptr);
    EXPECT_EQ(buffer.Info(), nullptr);
    EXPECT_EQ(buffer.Width(), 0);
    EXPECT_EQ(buffer.ImageSize(), 0u);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(buffer.ColorCount(), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(buffer.Release());
}

TEST(BitmapBuffer, CreateTwentyFourBitsFillsEveryPixel) {
    BitmapBuffer buffer;
    ASSERT_TRUE(buffer.Create(7, 5, 24, RGB(10, 20, 30)));
    EXPECT_EQ(buffer.ImageSize(), static_cast<DWORD>((24 * 7 + 31) / 32 * 4 * 5));
    EXPECT_EQ(buffer.Info()->bmiHeader.biSize, 40u);
    EXPECT_EQ(buffer.Info()->bmiHeader.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(buffer.ColorCount(), 0u);
    EXPECT_EQ(buffer.Palette(), nullptr);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            ASSERT_EQ(PixelAt(buffer, x, y), RGB(10, 20, 30));
        }
    }
}

TEST(BitmapBuffer, CreateGivesEachDepthItsTableOrMasks) {
    BitmapBuffer one;
    ASSERT_TRUE(one.Create(3, 3, 1, RGB(255, 255, 255)));
    ASSERT_EQ(one.ColorCount(), 2u);
    EXPECT_EQ(TableOf(one)[0].rgbRed, 0);
    EXPECT_EQ(TableOf(one)[1].rgbGreen, 255);
    EXPECT_NE(one.Palette(), nullptr);

    BitmapBuffer eight;
    ASSERT_TRUE(eight.Create(3, 3, 8, RGB(0, 0, 0)));
    ASSERT_EQ(eight.ColorCount(), 256u);
    EXPECT_NE(eight.Palette(), nullptr);
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HPALETTE halftone = CreateHalftonePalette(display);
    PALETTEENTRY entries[256] = {};
    GetPaletteEntries(halftone, 0, 256, entries);
    DeleteObject(halftone);
    DeleteDC(display);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(TableOf(eight)[i].rgbRed, entries[i].peRed) << i;
        ASSERT_EQ(TableOf(eight)[i].rgbBlue, entries[i].peBlue) << i;
    }

    BitmapBuffer sixteen;
    ASSERT_TRUE(sixteen.Create(3, 3, 16, RGB(0, 0, 0)));
    EXPECT_EQ(sixteen.Info()->bmiHeader.biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, sixteen.Info()), 52u);
    EXPECT_EQ(MasksOf(sixteen)[0], 0x7C00u);
    EXPECT_EQ(MasksOf(sixteen)[1], 0x03E0u);
    EXPECT_EQ(MasksOf(sixteen)[2], 0x001Fu);

    BitmapBuffer thirtyTwo;
    ASSERT_TRUE(thirtyTwo.Create(3, 3, 32, RGB(0, 0, 0)));
    EXPECT_EQ(MasksOf(thirtyTwo)[0], 0x00FF0000u);
    EXPECT_EQ(MasksOf(thirtyTwo)[2], 0x000000FFu);

    BitmapBuffer four;
    ASSERT_TRUE(four.Create(3, 3, 4, RGB(0, 0, 0)));
    EXPECT_EQ(four.ColorCount(), 16u);
}

TEST(BitmapBuffer, CreateFromInfoHonoursClrUsedAndRefusesBadSizes) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[17];
    } format = {};
    format.header.biSize = 40;
    format.header.biWidth = 4;
    format.header.biHeight = 2;
    format.header.biPlanes = 1;
    format.header.biBitCount = 8;
    format.header.biClrUsed = 17;
    format.table[16].rgbRed = 200;
    BitmapBuffer buffer;
    ASSERT_TRUE(buffer.CreateFromInfo(reinterpret_cast<BITMAPINFO*>(&format), RGB(0, 0, 0)));
    EXPECT_EQ(buffer.ColorCount(), 17u);
    EXPECT_EQ(TableOf(buffer)[16].rgbRed, 200);

    format.header.biBitCount = 24;
    format.header.biClrUsed = 4;
    ASSERT_TRUE(buffer.CreateFromInfo(reinterpret_cast<BITMAPINFO*>(&format), RGB(0, 0, 0)));
    EXPECT_EQ(buffer.ColorCount(), 4u);
    EXPECT_NE(buffer.Palette(), nullptr);

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(buffer.CreateFromInfo(nullptr, RGB(0, 0, 0)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(buffer.Dc(), nullptr);

    // A top-down request and a size past 2 GiB are refused, not attempted.
    EXPECT_FALSE(buffer.Create(4, -2, 24, RGB(0, 0, 0)));
    EXPECT_EQ(buffer.Info(), nullptr);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(buffer.Create(40000, 40000, 32, RGB(0, 0, 0)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(buffer.Info(), nullptr);
}

TEST(BitmapBuffer, BrightnessClampsAtBothEnds) {
    for (WORD depth : {24, 16, 32}) {
        BitmapBuffer buffer;
        ASSERT_TRUE(buffer.Create(5, 3, depth, RGB(8, 128, 248)));
        ASSERT_TRUE(buffer.AdjustBrightness(300));
        EXPECT_EQ(GetPixel(buffer.Dc(), 4, 2), RGB(255, 255, 255)) << depth;
        ASSERT_TRUE(buffer.AdjustBrightness(-300));
        EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), RGB(0, 0, 0)) << depth;
    }
    BitmapBuffer buffer;
    ASSERT_TRUE(buffer.Create(5, 3, 24, RGB(100, 100, 100)));
    ASSERT_TRUE(buffer.AdjustColors(10, -20, 200));
    EXPECT_EQ(PixelAt(buffer, 2, 1), RGB(110, 80, 255));
}

TEST(BitmapBuffer, AdjustColorsOfAPaletteImageChangesOnlyTheTable) {
    BitmapBuffer buffer;
    ASSERT_TRUE(buffer.Create(4, 4, 8, RGB(0, 0, 0)));
    GdiFlush();
    std::memset(buffer.Bits(), 7, buffer.ImageSize());
    const RGBQUAD before = TableOf(buffer)[7];
    ASSERT_TRUE(buffer.AdjustColors(-300, 0, 300));
    EXPECT_EQ(TableOf(buffer)[7].rgbRed, 0);
    EXPECT_EQ(TableOf(buffer)[7].rgbGreen, before.rgbGreen);
    EXPECT_EQ(TableOf(buffer)[7].rgbBlue, 255);
    EXPECT_EQ(buffer.Bits()[0], 7);
    PALETTEENTRY entry = {};
    ASSERT_EQ(GetPaletteEntries(buffer.Palette(), 7, 1, &entry), 1u);
    EXPECT_EQ(entry.peRed, 0);
    EXPECT_EQ(entry.peBlue, 255);
    EXPECT_EQ(GetPixel(buffer.Dc(), 1, 1), RGB(0, before.rgbGreen, 255));
}

TEST(BitmapBuffer, ColorTableFromEntriesAndPalettes) {
    BitmapBuffer buffer;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(buffer.RebuildPalette());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    ASSERT_TRUE(buffer.Create(2, 2, 24, RGB(0, 0, 0)));
    PALETTEENTRY entries[256] = {};
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(buffer.SetColorTable(entries));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));

    ASSERT_TRUE(buffer.Create(2, 2, 1, RGB(0, 0, 0)));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(buffer.SetColorTable(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    entries[0] = {200, 0, 0, 0};
    entries[1] = {0, 0, 200, 0};
    ASSERT_TRUE(buffer.SetColorTable(entries));
    EXPECT_EQ(TableOf(buffer)[1].rgbBlue, 200);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), RGB(200, 0, 0));

    // A palette shorter than the table leaves the remaining entries black.
    struct {
        WORD version, count;
        PALETTEENTRY entry[1];
    } logical = {0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE one = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    ASSERT_TRUE(buffer.SetColorsFromPalette(one));
    DeleteObject(one);
    EXPECT_EQ(TableOf(buffer)[0].rgbGreen, 2);
    EXPECT_EQ(TableOf(buffer)[1].rgbBlue, 0);
}

TEST(BitmapBuffer, ScalingTruncatesAndKeepsTheFormat) {
    BitmapBuffer source;
    ASSERT_TRUE(source.Create(101, 11, 8, RGB(255, 0, 0)));
    BitmapBuffer copy;
    ASSERT_TRUE(copy.AssignScaled(source, 0.5));
    EXPECT_EQ(copy.Width(), 50);
    EXPECT_EQ(copy.Height(), 5);
    EXPECT_EQ(copy.BitCount(), 8);
    EXPECT_EQ(copy.ColorCount(), 256u);
    EXPECT_EQ(GetPixel(copy.Dc(), 49, 4), GetPixel(source.Dc(), 0, 0));

    ASSERT_TRUE(copy.Scale(2.0));
    EXPECT_EQ(copy.Width(), 100);
    EXPECT_EQ(copy.Height(), 10);
    const BYTE* bitsBefore = copy.Bits();
    ASSERT_TRUE(copy.Scale(1.0));
    EXPECT_EQ(copy.Bits(), bitsBefore);  // unchanged, not rebuilt

    BitmapBuffer empty;
    ASSERT_TRUE(copy.AssignScaled(empty, 2.0));
    EXPECT_EQ(copy.Dc(), nullptr);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(empty.Scale(1.0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));

    // Factors whose products no int holds fail cleanly.
    ASSERT_TRUE(copy.AssignScaled(source, 1.0));
    EXPECT_FALSE(copy.Scale(1e300));
    EXPECT_EQ(copy.Dc(), nullptr);
}

TEST(BitmapBuffer, DrawScaledTruncatesTheDestination) {
    BitmapBuffer source;
    ASSERT_TRUE(source.Create(3, 3, 24, RGB(0, 0, 255)));
    BitmapBuffer target;
    ASSERT_TRUE(target.Create(3, 3, 24, RGB(0, 0, 0)));
    ASSERT_TRUE(source.DrawScaled(target.Dc(), 0.5, SRCCOPY));
    EXPECT_EQ(PixelAt(target, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(target, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(target, 0, 1), RGB(0, 0, 0));
    BitmapBuffer empty;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(empty.Draw(target.Dc(), 0, 0, 1, 1, 0, 0, 1, 1, SRCCOPY));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
}

TEST(BitmapBuffer, DrawingAPaletteImageLeavesTheTargetsPaletteAsItWas) {
    BitmapBuffer source;
    ASSERT_TRUE(source.Create(2, 2, 8, RGB(0, 0, 0)));
    BitmapBuffer target;
    ASSERT_TRUE(target.Create(2, 2, 24, RGB(0, 0, 0)));
    HGDIOBJ before = GetCurrentObject(target.Dc(), OBJ_PAL);
    ASSERT_TRUE(source.Draw(target.Dc(), 0, 0, 2, 2, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetCurrentObject(target.Dc(), OBJ_PAL), before);
}

}  // namespace
