#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/bitmap_buffer.h"
#include "support/test_files.h"
#include "unit/imaging/pixels.h"

namespace {

class BmpFile : public testing::Test {
protected:
    BOOL Load(const std::string& bytes) { return buffer.LoadBmpFile(Wide(folder.Write("picture.bmp", bytes)).c_str()); }
    // A file of the header (and table) and the pixels right after it.
    BOOL Load(const std::string& head, const std::string& pixels) {
        return Load(BmpFileBytes(head + pixels, 14 + head.size()));
    }
    TempFolder folder;
    BitmapBuffer buffer;
};

// The 2 x 2 pictures are red, blue over green, white.
TEST_F(BmpFile, EveryLayoutLoadsAsAnUncompressedBufferWithAFortyByteHeader) {
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0), white = RGB(255, 255, 255);
    const std::string table4 = Bytes().U32(0x00FF0000).U32(0x000000FF).U32(0x0000FF00).U32(0x00FFFFFF).text;
    const std::string redThenGreen("\0\0\xFF\0\0\xFF\0\0", 8);  // two 1-pixel lines in file order
    const std::string stream("\x03\x01\x01\x02\x00\x00\x04\x02\x00\x01", 10);  // bottom 1 1 1 2, top 2 2 2 2, end
    const struct {
        const char* what;
        std::string head, pixels;  // the pixels in file order
        WORD bits;
        UINT colors;
        int width;
        std::vector<COLORREF> shown;  // the top line first
    } cases[] = {
        {"4 bits", Bytes().Info(2, 2, 4, BI_RGB, 0, 4).text + table4, std::string("\x23\0\0\0\x01\0\0\0", 8), 4, 4, 2,
         {red, blue, green, white}},
        {"8 bits", Bytes().Info(2, 2, 8, BI_RGB).text + table4 + std::string(4 * 252, '\0'),
         std::string("\x02\x03\0\0\x00\x01\0\0", 8), 8, 256, 2, {red, blue, green, white}},
        {"24 bits", Bytes().Info(2, 2, 24, BI_RGB).text,
         std::string("\0\xFF\0\xFF\xFF\xFF\0\0\0\0\xFF\xFF\0\0\0\0", 16), 24, 0, 2, {red, blue, green, white}},
        {"core header", Bytes().U32(12).U16(1).U16(2).U16(1).U16(24).text, redThenGreen, 24, 0, 1, {green, red}},
        {"top-down", Bytes().Info(1, -2, 24, BI_RGB).text, redThenGreen, 24, 0, 1, {red, green}},
        {"108-byte header, the table after it",
         Bytes().Info(1, 1, 8, BI_RGB, 0, 2, 108).U32(0x00123456).U32(0x00ABCDEF).text, std::string("\x01\0\0\0", 4), 8,
         2, 1, {RGB(0xAB, 0xCD, 0xEF)}},
        {"run-length", Bytes().Info(4, 2, 8, BI_RLE8, stream.size(), 3).U32(0).U32(0x00FF0000).U32(0x0000FF00).text,
         stream, 8, 3, 4, {green, green, green, green, red, red, red, green}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Load(c.head, c.pixels));
        EXPECT_EQ(buffer.Info()->bmiHeader.biSize, 40u);
        EXPECT_EQ(buffer.Info()->bmiHeader.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(buffer.BitCount(), c.bits);
        EXPECT_EQ(buffer.ColorCount(), c.colors);
        EXPECT_EQ(buffer.Palette() != nullptr, c.colors != 0);
        ASSERT_EQ(buffer.Width(), c.width);
        ASSERT_EQ(buffer.Height(), static_cast<int>(c.shown.size()) / c.width);
        for (int i = 0; i < static_cast<int>(c.shown.size()); ++i) {
            EXPECT_EQ(GetPixel(buffer.Dc(), i % c.width, i / c.width), c.shown[i]) << "pixel " << i;
        }
    }
}

// Broken headers, tables and pixel blocks are the layout checks' own tests;
// here, what the reader checks before them. A run-length stream of a few bytes
// that would decode to 400 MB is refused for its size, which the picture
// loading tells from a broken file: such a bitmap is not handed on to the
// system's loader.
TEST_F(BmpFile, RefusedFilesLeaveTheBufferEmptyAndTellTooLargeFromBroken) {
    const std::string head = Bytes().Info(2, 1, 24, BI_RGB).text;
    const std::string valid = BmpFileBytes(head + std::string(8, '\x55'), 14 + head.size());
    const std::string huge = Bytes().Info(20000, 20000, 8, BI_RLE8, 2).text + std::string(4 * 256, '\0');
    const struct {
        std::string bytes;
        DWORD error;
    } cases[] = {
        {"bm" + valid.substr(2), ERROR_INVALID_DATA},
        {valid.substr(0, 13), ERROR_INVALID_DATA},
        {valid.substr(0, valid.size() - 1), ERROR_INVALID_DATA},  // last pixel byte missing, bfSize unchanged
        {BmpFileBytes(huge + std::string("\0\1", 2), 14 + huge.size()), ERROR_NOT_ENOUGH_MEMORY},  // end of bitmap
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(valid));
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(Load(c.bytes)) << c.bytes.size();
        EXPECT_EQ(GetLastError(), c.error) << c.bytes.size();
        EXPECT_EQ(buffer.Dc(), nullptr);
        EXPECT_EQ(buffer.Info(), nullptr);
    }
    EXPECT_FALSE(buffer.LoadBmpFile(Wide(folder / "missing.bmp").c_str()));
}

}  // namespace
