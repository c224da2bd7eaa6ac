#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "imaging/bitmap_buffer.h"
#include "support/test_files.h"
#include "unit/imaging/pixels.h"

namespace {

class BmpFile : public testing::Test {
protected:
    // Writes the file and loads it into buffer.
    BOOL Load(const std::string& bytes) {
        const std::string path = folder / "picture.bmp";
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return buffer.LoadBmpFile(path.c_str());
    }
    // A file of the header (and table) and the pixels right after it.
    BOOL Load(const std::string& head, const std::string& pixels) {
        return Load(BmpFileBytes(head + pixels, 14 + head.size()));
    }
    TempFolder folder;
    BitmapBuffer buffer;
};

std::string Header(unsigned bits, unsigned long clrUsed = 0) {
    return Bytes().Info(2, 2, bits, BI_RGB, 0, clrUsed).text;
}

// A 2 x 2 picture at every depth: top line red, blue; bottom line green, white
// (1 bit: white, red over red, white).
TEST_F(BmpFile, LoadsEveryDepth) {
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0), white = RGB(255, 255, 255);
    const std::string table4 = Bytes().U32(0x00FF0000).U32(0x000000FF).U32(0x0000FF00).U32(0x00FFFFFF).text;
    const struct {
        unsigned bits;
        std::string head, bottom, top;  // file order: bottom line first
        COLORREF topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        {1, Header(1) + Bytes().U32(0x00FF0000).U32(0x00FFFFFF).text, std::string("\x40\0\0\0", 4),
         std::string("\x80\0\0\0", 4), white, red, red, white},
        {4, Header(4, 4) + table4, std::string("\x23\0\0\0", 4), std::string("\x01\0\0\0", 4), red, blue, green, white},
        {8, Header(8) + table4 + std::string(4 * 252, '\0'), std::string("\x02\x03\0\0", 4),
         std::string("\x00\x01\0\0", 4), red, blue, green, white},
        {16, Header(16), Bytes().U16(0x03E0).U16(0x7FFF).text, Bytes().U16(0x7C00).U16(0x001F).text, red, blue, green,
         white},
        {24, Header(24), std::string("\0\xFF\0\xFF\xFF\xFF\0\0", 8), std::string("\0\0\xFF\xFF\0\0\0\0", 8), red, blue,
         green, white},
        {32, Header(32), Bytes().U32(0x0000FF00).U32(0x00FFFFFF).text, Bytes().U32(0x00FF0000).U32(0x000000FF).text, red,
         blue, green, white},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(c.head, c.bottom + c.top)) << c.bits;
        EXPECT_EQ(buffer.BitCount(), c.bits);
        EXPECT_EQ(buffer.Width(), 2);
        EXPECT_EQ(buffer.Height(), 2);
        EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), c.topLeft) << c.bits;
        EXPECT_EQ(GetPixel(buffer.Dc(), 1, 0), c.topRight) << c.bits;
        EXPECT_EQ(GetPixel(buffer.Dc(), 0, 1), c.bottomLeft) << c.bits;
        EXPECT_EQ(GetPixel(buffer.Dc(), 1, 1), c.bottomRight) << c.bits;
        EXPECT_EQ(buffer.Palette() != nullptr, c.bits <= 8) << c.bits;
    }
}

TEST_F(BmpFile, LongHeaderIsStoredAsFortyBytesWithTheTableFromAfterIt) {
    ASSERT_TRUE(Load(Bytes().Info(1, 1, 8, BI_RGB, 0, 2, 108).U32(0x00123456).U32(0x00ABCDEF).text,
                     std::string("\x01\0\0\0", 4)));
    EXPECT_EQ(buffer.Info()->bmiHeader.biSize, 40u);
    EXPECT_EQ(buffer.ColorCount(), 2u);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), RGB(0xAB, 0xCD, 0xEF));
}

TEST_F(BmpFile, RunLengthFileLoadsUncompressed) {
    const std::string stream("\x03\x01\x01\x02\x00\x00\x04\x02\x00\x01", 10);  // bottom 1 1 1 2, top 2 2 2 2, end
    // black, red, green
    ASSERT_TRUE(Load(Bytes().Info(4, 2, 8, BI_RLE8, stream.size(), 3).U32(0).U32(0x00FF0000).U32(0x0000FF00).text,
                     stream));
    EXPECT_EQ(buffer.Info()->bmiHeader.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(buffer.BitCount(), 8);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(buffer.Dc(), 3, 1), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(buffer.Dc(), 2, 0), RGB(0, 255, 0));
}

TEST_F(BmpFile, CoreHeaderAndTopDownFilesAreConverted) {
    const std::string redThenGreen("\0\0\xFF\0\0\xFF\0\0", 8);  // two 1-pixel lines in file order
    ASSERT_TRUE(Load(Bytes().U32(12).U16(1).U16(2).U16(1).U16(24).text, redThenGreen));  // bottom up
    EXPECT_EQ(buffer.Info()->bmiHeader.biSize, 40u);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 1), RGB(255, 0, 0));
    ASSERT_TRUE(Load(Bytes().Info(1, -2, 24, BI_RGB).text, redThenGreen));  // top down
    EXPECT_EQ(buffer.Height(), 2);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 1), RGB(0, 255, 0));
}

// Broken headers, tables and pixel blocks are the layout checks' own tests;
// here, what the reader checks before them.
TEST_F(BmpFile, BrokenFilesLeaveTheBufferEmpty) {
    const std::string head = Bytes().Info(2, 1, 24, BI_RGB).text;
    const std::string valid = BmpFileBytes(head + std::string(8, '\x55'), 14 + head.size());
    const std::string cases[] = {
        "bm" + valid.substr(2),
        valid.substr(0, 13),
        valid.substr(0, valid.size() - 1),  // last pixel byte missing, bfSize unchanged
    };
    for (const std::string& bytes : cases) {
        ASSERT_TRUE(Load(valid));
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(Load(bytes)) << bytes.size();
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << bytes.size();
        EXPECT_EQ(buffer.Dc(), nullptr);
        EXPECT_EQ(buffer.Info(), nullptr);
    }
    EXPECT_FALSE(buffer.LoadBmpFile((folder / "missing.bmp").c_str()));
}

// A run-length stream of a few bytes that would decode to 400 MB is refused
// for its size, which the picture loading tells from a broken file: such a
// bitmap is not handed on to the system's loader.
TEST_F(BmpFile, AFileTooLargeToDecodeIsRefusedForItsSize) {
    const std::string head = Bytes().Info(20000, 20000, 8, BI_RLE8, 2).text;
    const std::string table(4 * 256, '\0');
    const std::string endOfBitmap("\0\1", 2);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(Load(BmpFileBytes(head + table + endOfBitmap, 14 + head.size() + table.size())));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

}  // namespace
