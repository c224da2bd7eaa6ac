#include "imaging/bmp_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/little_endian_bytes.h"

namespace {

// The file from byte 14 on, written field by field.
struct Block : Bytes {
    uint32_t OffBits() const { return static_cast<uint32_t>(text.size()) + 14; }
    // On an exactly sized copy, so that the sanitizer build sees any read past it.
    bool Check(uint32_t offBits, BmpLayout* layout) const {
        std::vector<uint8_t> copy(text.begin(), text.end());
        return CheckBmpLayout(copy.data(), copy.size(), offBits, layout);
    }
};

TEST(BmpLayout, AcceptsEveryDepthWithItsPixelsInside) {
    // Five pixels a line, each line padded to 4 bytes.
    const struct {
        uint16_t bits;
        uint32_t colors, stride;
    } depths[] = {{1, 2, 4}, {4, 16, 4}, {8, 256, 8}, {16, 0, 12}, {24, 0, 16}, {32, 0, 20}};
    for (const auto& [bits, colors, stride] : depths) {
        Block b;
        b.Info(5, 3, bits, 0).Fill(4 * colors, 0x40);
        const uint32_t off = b.OffBits();
        b.Fill(stride * 3, 0x11);
        BmpLayout layout;
        ASSERT_TRUE(b.Check(off, &layout)) << bits;
        EXPECT_EQ(layout.colorCount, colors);
        EXPECT_EQ(layout.stride, stride);
        EXPECT_EQ(layout.sizeImage, stride * 3);
        EXPECT_EQ(BmpFormatSize(layout), 40 + 4 * colors);

        // One byte short of the last row, and the same bytes pointed past.
        Block shortBlock = b;
        shortBlock.text.pop_back();
        EXPECT_FALSE(shortBlock.Check(off, &layout)) << bits;
        EXPECT_FALSE(b.Check(off + 1, &layout)) << bits;
    }
}

TEST(BmpLayout, RefusesWhatDoesNotFitAndAbsurdOrOverflowingSizes) {
    BmpLayout layout;
    Block tiny;
    tiny.U32(40).Fill(10, 0);
    EXPECT_FALSE(tiny.Check(14, &layout));
    EXPECT_FALSE(CheckBmpLayout(nullptr, 0, 14, &layout));

    Block table;  // 8 bits: 256 entries promised, 2 present
    table.Info(1, 1, 8, 0).Fill(8, 0);
    table.Fill(4, 0);
    EXPECT_FALSE(table.Check(table.OffBits() - 4, &layout));

    Block masks;  // bit fields after a 40-byte header, cut short
    masks.Info(1, 1, 16, 3).Fill(8, 0);
    EXPECT_FALSE(masks.Check(masks.OffBits(), &layout));

    Block odd;  // an unknown header size
    odd.Info(1, 1, 24, 0, 0, 0, 64).Fill(4, 0);
    EXPECT_FALSE(odd.Check(odd.OffBits() - 4, &layout));

    Block colors;  // more colours than the depth can index
    colors.Info(1, 1, 4, 0, 0, 17).Fill(4 * 17 + 4, 0);
    EXPECT_FALSE(colors.Check(14 + 40 + 4 * 17, &layout));

    struct Case {
        int32_t width, height;
        uint16_t bits;
        uint32_t compression;
    } cases[] = {
        {0, 1, 24, 0},      {-5, 1, 24, 0},          {1, 0, 24, 0},        {INT32_MAX, INT32_MAX, 32, 0},
        {1, INT32_MIN, 24, 0}, {70000, 70000, 24, 1}, {100000, 100000, 8, 1}, {5, 5, 7, 0},
        {5, 5, 24, 1},      {5, 5, 8, 3},            {5, 5, 8, 2},         {5, 5, 24, 4},
        {5, -5, 8, 1},
    };
    for (const Case& c : cases) {
        Block b;
        b.Info(c.width, c.height, c.bits, c.compression, 16).Fill(1024 + 64, 0);
        EXPECT_FALSE(b.Check(14 + 40 + 1024, &layout)) << c.width << "x" << c.height << " " << c.bits;
    }
}

TEST(BmpLayout, RunLengthStreamsMustLieInsideTheBlock) {
    BmpLayout layout;
    Block b;
    b.Info(4, 2, 8, 1, 6).Fill(4 * 256, 0);
    const uint32_t off = b.OffBits();
    b.U16(0x0104).U16(0x0000).U16(0x0100);  // four pixels of colour 1, end of line, end of picture
    ASSERT_TRUE(b.Check(off, &layout));
    EXPECT_EQ(layout.sizeImage, 6u);

    Block longer = b;
    longer.text[20] = 7;  // biSizeImage one past the stream
    EXPECT_FALSE(longer.Check(off, &layout));

    Block unsized = b;
    unsized.text[20] = 0;  // no length given: up to the end of the file
    ASSERT_TRUE(unsized.Check(off, &layout));
    EXPECT_EQ(layout.sizeImage, 6u);
}

// A longer header's masks are its own fields at offset 40; a core header has
// 16-bit sizes and 3-byte colours. Both come out as a 40-byte header with the
// masks or the 4-byte colours after it.
TEST(BmpLayout, LongerAndCoreHeadersBecomeInfoHeaders) {
    Block masks;
    masks.Info(2, 1, 16, 3, 0, 0, 40).U32(0xF800).U32(0x07E0).U32(0x001F).Fill(108 - 52, 0);
    masks.text[0] = 108;
    Block core;
    core.U32(12).U16(3).U16(2).U16(1).U16(1);
    core.text += "\1\2\3\4\5\6";  // two 3-byte entries: blue, green, red
    const struct {
        Block& block;
        std::vector<uint8_t> sizes, after;  // biSize, biWidth, biHeight; what follows the header
    } cases[] = {
        {masks, {40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0}, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}},
        {core, {40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0}, {1, 2, 3, 0, 4, 5, 6, 0}},
    };
    for (const auto& c : cases) {
        const uint32_t off = c.block.OffBits();
        c.block.Fill(8, 0x80);
        BmpLayout layout;
        ASSERT_TRUE(c.block.Check(off, &layout));
        std::vector<uint8_t> format(BmpFormatSize(layout));
        ASSERT_EQ(format.size(), 40 + c.after.size());
        WriteBmpFormat(layout, reinterpret_cast<const uint8_t*>(c.block.text.data()), format.data());
        EXPECT_EQ(std::vector<uint8_t>(format.begin(), format.begin() + 12), c.sizes);
        EXPECT_EQ(std::vector<uint8_t>(format.begin() + 40, format.end()), c.after);
    }
}

}  // namespace
