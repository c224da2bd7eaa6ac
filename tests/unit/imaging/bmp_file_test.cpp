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
    TempFolder folder;
    BitmapBuffer buffer;
};

// A 2 x 2 picture at every depth: top line red, blue; bottom line green, white.
TEST_F(BmpFile, LoadsEveryDepth) {
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0), white = RGB(255, 255, 255);
    struct Depth {
        unsigned bits;
        std::string bottomRow, topRow;  // file order: bottom line first
    };
    const std::string table4 = std::string("\0\0\xFF\0", 4) + std::string("\xFF\0\0\0", 4) +
                               std::string("\0\xFF\0\0", 4) + std::string("\xFF\xFF\xFF\0", 4);
    for (unsigned bits : {1u, 4u, 8u, 16u, 24u, 32u}) {
        Bytes b;
        unsigned colors = 0;
        std::string bottom, top;
        switch (bits) {
        case 1:
            // Two colours only: red/white pattern checked separately below.
            colors = 2;
            b.Info(2, 2, 1, BI_RGB);
            b.U32(0x00FF0000).U32(0x00FFFFFF);  // entry 0 red, entry 1 white
            bottom = std::string("\x40\0\0\0", 4);  // 0 1 -> red white
            top = std::string("\x80\0\0\0", 4);     // 1 0 -> white red
            break;
        case 4:
            colors = 4;
            b.Info(2, 2, 4, BI_RGB, 0, 4);
            b.text += table4;
            bottom = std::string("\x23\0\0\0", 4);
            top = std::string("\x01\0\0\0", 4);
            break;
        case 8:
            colors = 256;
            b.Info(2, 2, 8, BI_RGB);
            b.text += table4;
            b.Fill(4 * 252, 0);
            bottom = std::string("\x02\x03\0\0", 4);
            top = std::string("\x00\x01\0\0", 4);
            break;
        case 16:
            b.Info(2, 2, 16, BI_RGB);
            bottom = Bytes().U16(0x03E0).U16(0x7FFF).text;
            top = Bytes().U16(0x7C00).U16(0x001F).text;
            break;
        case 24:
            b.Info(2, 2, 24, BI_RGB);
            bottom = std::string("\0\xFF\0\xFF\xFF\xFF\0\0", 8);
            top = std::string("\0\0\xFF\xFF\0\0\0\0", 8);
            break;
        case 32:
            b.Info(2, 2, 32, BI_RGB);
            bottom = Bytes().U32(0x0000FF00).U32(0x00FFFFFF).text;
            top = Bytes().U32(0x00FF0000).U32(0x000000FF).text;
            break;
        }
        (void)colors;
        const unsigned long offBits = 14 + b.text.size();
        ASSERT_TRUE(Load(BmpFileBytes(b.text + bottom + top, offBits))) << bits;
        EXPECT_EQ(buffer.BitCount(), bits);
        EXPECT_EQ(buffer.Width(), 2);
        EXPECT_EQ(buffer.Height(), 2);
        if (bits == 1) {
            EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), white);
            EXPECT_EQ(GetPixel(buffer.Dc(), 1, 0), red);
            EXPECT_EQ(GetPixel(buffer.Dc(), 1, 1), white);
            EXPECT_NE(buffer.Palette(), nullptr);
            continue;
        }
        EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), red) << bits;
        EXPECT_EQ(GetPixel(buffer.Dc(), 1, 0), blue) << bits;
        EXPECT_EQ(GetPixel(buffer.Dc(), 0, 1), green) << bits;
        EXPECT_EQ(GetPixel(buffer.Dc(), 1, 1), white) << bits;
        EXPECT_EQ(buffer.Palette() != nullptr, bits <= 8) << bits;
    }
}

TEST_F(BmpFile, LongHeaderIsStoredAsFortyBytesWithTheTableFromAfterIt) {
    Bytes b;
    b.Info(1, 1, 8, BI_RGB, 0, 2, 108);
    b.U32(0x00123456).U32(0x00ABCDEF);
    const unsigned long offBits = 14 + b.text.size();
    b.U8(1).Fill(3, 0);
    ASSERT_TRUE(Load(BmpFileBytes(b.text, offBits)));
    EXPECT_EQ(buffer.Info()->bmiHeader.biSize, 40u);
    EXPECT_EQ(buffer.ColorCount(), 2u);
    EXPECT_EQ(buffer.Info()->bmiColors[1].rgbRed, 0xAB);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), RGB(0xAB, 0xCD, 0xEF));
}

TEST_F(BmpFile, RunLengthFileLoadsUncompressed) {
    Bytes b;
    const std::string stream("\x03\x01\x01\x02\x00\x00\x04\x02\x00\x01", 10);  // bottom 1 1 1 2, top 2 2 2 2, end
    b.Info(4, 2, 8, BI_RLE8, stream.size(), 3);
    b.U32(0).U32(0x00FF0000).U32(0x0000FF00);  // black, red, green
    const unsigned long offBits = 14 + b.text.size();
    ASSERT_TRUE(Load(BmpFileBytes(b.text + stream, offBits)));
    EXPECT_EQ(buffer.Info()->bmiHeader.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(buffer.BitCount(), 8);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(buffer.Dc(), 3, 1), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(buffer.Dc(), 2, 0), RGB(0, 255, 0));
}

TEST_F(BmpFile, CoreHeaderAndTopDownFilesAreConverted) {
    Bytes core;
    core.U32(12).U16(1).U16(2).U16(1).U16(24);
    const unsigned long coreOff = 14 + core.text.size();
    core.text += std::string("\0\0\xFF\0\0\xFF\0\0", 8);  // bottom red, top green
    ASSERT_TRUE(Load(BmpFileBytes(core.text, coreOff)));
    EXPECT_EQ(buffer.Info()->bmiHeader.biSize, 40u);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 1), RGB(255, 0, 0));

    Bytes topDown;
    topDown.Info(1, -2, 24, BI_RGB);
    const unsigned long off = 14 + topDown.text.size();
    topDown.text += std::string("\0\0\xFF\0\0\xFF\0\0", 8);  // top red, bottom green
    ASSERT_TRUE(Load(BmpFileBytes(topDown.text, off)));
    EXPECT_EQ(buffer.Height(), 2);
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(buffer.Dc(), 0, 1), RGB(0, 255, 0));
}

TEST_F(BmpFile, BrokenFilesLeaveTheBufferEmpty) {
    Bytes good;
    good.Info(2, 1, 24, BI_RGB);
    const unsigned long off = 14 + good.text.size();
    good.Fill(8, 0x55);
    const std::string valid = BmpFileBytes(good.text, off);
    ASSERT_TRUE(Load(valid));

    std::string lower = valid;
    lower[0] = 'b';
    lower[1] = 'm';
    std::string lyingSize = valid;
    lyingSize[2] = '\xFF';  // bfSize far beyond the file
    lyingSize[5] = '\x7F';
    std::string huge = BmpFileBytes(Bytes().Info(30000, 30000, 8, BI_RLE8, 2, 2).U32(0).U32(0).U16(1).text, 14 + 48);
    const std::string cases[] = {
        lower,
        valid.substr(0, 13),
        valid.substr(0, valid.size() - 1) ,  // last pixel byte missing, bfSize unchanged
        lyingSize,
        BmpFileBytes(good.text.substr(0, 30), off),  // header cut short
        BmpFileBytes(good.text, 14 + 200),           // pixels said to start past the end
        huge,                                   // tiny stream, 900 million pixels
    };
    for (const std::string& bytes : cases) {
        ASSERT_TRUE(Load(valid));
        EXPECT_FALSE(Load(bytes)) << bytes.size();
        EXPECT_EQ(buffer.Dc(), nullptr);
        EXPECT_EQ(buffer.Info(), nullptr);
    }
    EXPECT_FALSE(buffer.LoadBmpFile((folder / "missing.bmp").c_str()));
}

}  // namespace
