#include "imaging/bitmap_buffer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "unit/imaging/pixels.h"

namespace {

const RGBQUAD* TableOf(const BitmapBuffer& buffer) {
    return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(buffer.Info()) + sizeof(BITMAPINFOHEADER));
}

// Calls the function with the last error set to a marker; the error it leaves.
template <typename Call>
DWORD ErrorAfter(Call call) {
    SetLastError(0xdeadbeef);
    call();
    return GetLastError();
}

TEST(BitmapBuffer, AnEmptyBufferRefusesWorkWithTheDocumentedErrors) {
    BitmapBuffer empty, target;
    ASSERT_TRUE(target.Create(1, 1, 24, RGB(0, 0, 0)));
    EXPECT_EQ(ErrorAfter([&] { EXPECT_EQ(empty.ColorCount(), 0u); }), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(ErrorAfter([&] { EXPECT_FALSE(empty.RebuildPalette()); }), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    EXPECT_EQ(ErrorAfter([&] { EXPECT_FALSE(empty.Scale(1.0)); }), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    EXPECT_EQ(ErrorAfter([&] { EXPECT_EQ(empty.CreateOpaqueRegion(RGB(0, 0, 0)), nullptr); }),
              static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    EXPECT_EQ(ErrorAfter([&] { EXPECT_FALSE(empty.Draw(target.Dc(), 0, 0, 1, 1, 0, 0, 1, 1, SRCCOPY)); }),
              static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    EXPECT_TRUE(empty.Release());
}

TEST(BitmapBuffer, CreateFillsEveryPixelAndGivesEachDepthItsTable) {
    BitmapBuffer buffer;
    ASSERT_TRUE(buffer.Create(7, 5, 24, RGB(10, 20, 30)));
    EXPECT_EQ(buffer.ImageSize(), 120u) << "lines of 21 bytes padded to 24";
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            ASSERT_EQ(PixelAt(buffer, x, y), RGB(10, 20, 30));
        }
    }
    const struct {
        WORD bits;
        DWORD colors;
    } depths[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {24, 0}, {32, 0}};
    for (const auto& d : depths) {
        ASSERT_TRUE(buffer.Create(3, 3, d.bits, RGB(0, 0, 0))) << d.bits;
        EXPECT_EQ(buffer.ColorCount(), d.colors) << d.bits;
        EXPECT_EQ(buffer.Palette() != nullptr, d.colors != 0) << d.bits;
    }
    ASSERT_TRUE(buffer.Create(3, 3, 1, RGB(255, 255, 255)));
    EXPECT_EQ(TableOf(buffer)[0].rgbRed, 0);
    EXPECT_EQ(TableOf(buffer)[1].rgbGreen, 255);
}

// An indexed image's biClrUsed is the .bmp loading's test; a deeper image
// keeps the table it carries too.
TEST(BitmapBuffer, CreateFromInfoHonoursClrUsedAndRefusesBadSizes) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[4];
    } format = {{40, 4, 2, 1, 24, BI_RGB, 0, 0, 0, 4, 0}, {}};
    BitmapBuffer buffer;
    ASSERT_TRUE(buffer.CreateFromInfo(reinterpret_cast<BITMAPINFO*>(&format), RGB(0, 0, 0)));
    EXPECT_EQ(buffer.ColorCount(), 4u);
    EXPECT_NE(buffer.Palette(), nullptr);

    EXPECT_EQ(ErrorAfter([&] { EXPECT_FALSE(buffer.CreateFromInfo(nullptr, RGB(0, 0, 0))); }),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(buffer.Dc(), nullptr);

    // A top-down request and a size past 2 GiB are refused, not attempted.
    EXPECT_FALSE(buffer.Create(4, -2, 24, RGB(0, 0, 0)));
    EXPECT_EQ(buffer.Info(), nullptr);
    EXPECT_EQ(ErrorAfter([&] { EXPECT_FALSE(buffer.Create(40000, 40000, 32, RGB(0, 0, 0))); }),
              static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
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
}

TEST(BitmapBuffer, AdjustColorsOfAPaletteImageChangesOnlyTheTable) {
    BitmapBuffer buffer;
    ASSERT_TRUE(buffer.Create(4, 4, 8, RGB(0, 0, 0)));
    GdiFlush();
    std::memset(buffer.Bits(), 7, buffer.ImageSize());
    const BYTE green = TableOf(buffer)[7].rgbGreen;
    ASSERT_TRUE(buffer.AdjustColors(-300, 0, 300));
    EXPECT_EQ(buffer.Bits()[0], 7);
    EXPECT_EQ(GetPixel(buffer.Dc(), 1, 1), RGB(0, green, 255));
    PALETTEENTRY entry = {};
    ASSERT_EQ(GetPaletteEntries(buffer.Palette(), 7, 1, &entry), 1u);
    EXPECT_EQ(RGB(entry.peRed, entry.peGreen, entry.peBlue), RGB(0, green, 255));
}

TEST(BitmapBuffer, ColorTableFromEntriesAndPalettes) {
    BitmapBuffer buffer;
    PALETTEENTRY entries[256] = {};
    ASSERT_TRUE(buffer.Create(2, 2, 24, RGB(0, 0, 0)));
    EXPECT_EQ(ErrorAfter([&] { EXPECT_FALSE(buffer.SetColorTable(entries)); }),
              static_cast<DWORD>(ERROR_INVALID_FUNCTION));

    ASSERT_TRUE(buffer.Create(2, 2, 1, RGB(0, 0, 0)));
    EXPECT_EQ(ErrorAfter([&] { EXPECT_FALSE(buffer.SetColorTable(nullptr)); }),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
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
    EXPECT_EQ(std::make_pair(copy.Width(), copy.Height()), std::make_pair(50, 5));
    EXPECT_EQ(copy.ColorCount(), 256u);
    EXPECT_EQ(GetPixel(copy.Dc(), 49, 4), GetPixel(source.Dc(), 0, 0));

    ASSERT_TRUE(copy.Scale(2.0));
    EXPECT_EQ(std::make_pair(copy.Width(), copy.Height()), std::make_pair(100, 10));

    BitmapBuffer empty;
    ASSERT_TRUE(copy.AssignScaled(empty, 2.0));
    EXPECT_EQ(copy.Dc(), nullptr);
    // Factors whose products no int holds fail cleanly.
    ASSERT_TRUE(copy.AssignScaled(source, 1.0));
    EXPECT_FALSE(copy.Scale(1e300));
    EXPECT_EQ(copy.Dc(), nullptr);
}

// A quarter turn clockwise puts the bottom-left pixel at the top left; an
// image of another depth comes out at 24 bits.
TEST(BitmapBuffer, TurningMovesEveryPixelWhereTheOrientationSays) {
    auto colorAt = [](int x, int y) { return RGB(40 * x, 100 * y, 7); };
    BitmapBuffer picture;
    ASSERT_TRUE(picture.Create(3, 2, 32, RGB(0, 0, 0)));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            SetPixelV(picture.Dc(), x, y, colorAt(x, y));
        }
    }
    ASSERT_TRUE(picture.Turn(ExifOrientation::kTurnClockwise));
    ASSERT_EQ(std::make_pair(picture.Width(), picture.Height()), std::make_pair(2, 3));
    EXPECT_EQ(picture.BitCount(), 24);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(PixelAt(picture, x, y), colorAt(y, 1 - x)) << x << "," << y;
        }
    }
}

TEST(BitmapBuffer, DrawScaledTruncatesTheDestinationAndKeepsTheTargetsPalette) {
    BitmapBuffer source, target;
    ASSERT_TRUE(source.Create(3, 3, 8, RGB(0, 0, 255)));
    ASSERT_TRUE(target.Create(3, 3, 24, RGB(0, 0, 0)));
    HGDIOBJ before = GetCurrentObject(target.Dc(), OBJ_PAL);
    ASSERT_TRUE(source.DrawScaled(target.Dc(), 0.5, SRCCOPY));
    EXPECT_EQ(GetCurrentObject(target.Dc(), OBJ_PAL), before);
    EXPECT_EQ(PixelAt(target, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(target, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(target, 0, 1), RGB(0, 0, 0));
}

}  // namespace
