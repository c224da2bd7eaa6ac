#include "imaging/orientation_turn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr uint8_t kPad = 0xEE;

// A DIB-like block of pixels, rows padded to 4 bytes and stored top-down or
// bottom-up. A painted pixel is a letter: byte c of it is the letter + 32 c,
// so a pixel that is moved, torn or made from padding shows as '?', and a
// line whose padding was written ends in '!'.
struct Picture {
    Picture(int w, int h, int bpp, bool bottomUpRows, uint8_t padding = kPad)
        : width(w), height(h), bytesPerPixel(bpp), bottomUp(bottomUpRows), stride((w * bpp + 3) / 4 * 4),
          bytes(stride * h, padding) {}

    PixelRows Rows() {
        return bottomUp ? BottomUpDibRows(bytes.data(), width, height, stride)
                        : PixelRows{bytes.data(), static_cast<ptrdiff_t>(stride), width, height};
    }
    uint8_t* Line(int y) { return Rows().top + y * Rows().stride; }

    void Paint(const Lines& lines) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width * bytesPerPixel; ++x) {
                Line(y)[x] = static_cast<uint8_t>(lines[y][x / bytesPerPixel] + 32 * (x % bytesPerPixel));
            }
        }
    }
    Lines Letters() {
        Lines lines(height);
        for (int y = 0; y < height; ++y) {
            const uint8_t* line = Line(y);
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = line + x * bytesPerPixel;
                bool whole = true;
                for (int c = 1; c < bytesPerPixel; ++c) {
                    whole = whole && p[c] == p[0] + 32 * c;
                }
                lines[y] += whole ? static_cast<char>(p[0]) : '?';
            }
            for (size_t i = static_cast<size_t>(width * bytesPerPixel); i < stride; ++i) {
                lines[y] += line[i] == kPad ? "" : "!";
            }
        }
        return lines;
    }

    int width, height, bytesPerPixel;
    bool bottomUp;
    size_t stride;
    std::vector<uint8_t> bytes;
};

const Lines kStored = {"ABCDE", "FGHIJ", "KLMNO"};

TEST(OrientationTurn, EveryOrientationGivesItsHandDrawnLayoutAndItsInverseTurnsItBack) {
    const Lines expected[8] = {
        {"ABCDE", "FGHIJ", "KLMNO"},
        {"EDCBA", "JIHGF", "ONMLK"},          // mirrored left to right
        {"ONMLK", "JIHGF", "EDCBA"},          // half a turn
        {"KLMNO", "FGHIJ", "ABCDE"},          // mirrored top to bottom
        {"AFK", "BGL", "CHM", "DIN", "EJO"},  // transposed
        {"KFA", "LGB", "MHC", "NID", "OJE"},  // a quarter turn clockwise
        {"OJE", "NID", "MHC", "LGB", "KFA"},  // transverse
        {"EJO", "DIN", "CHM", "BGL", "AFK"},  // a quarter turn anticlockwise
    };
    const int inverse[8] = {1, 2, 3, 4, 5, 8, 7, 6};
    for (int bpp : {3, 4}) {
        for (bool sourceBottomUp : {false, true}) {
            for (int o = 1; o <= 8; ++o) {
                const Lines& want = expected[o - 1];
                const int width = static_cast<int>(want[0].size()), height = static_cast<int>(want.size());
                SCOPED_TRACE(testing::Message() << "orientation " << o << ", " << bpp << " bytes a pixel, source "
                                                << (sourceBottomUp ? "bottom-up" : "top-down"));
                Picture source(5, 3, bpp, sourceBottomUp, 0x55);  // padding that must not be copied
                source.Paint(kStored);
                const PixelSize turned = TurnedSize(static_cast<ExifOrientation>(o), 5, 3);
                EXPECT_EQ(turned.width, width);
                EXPECT_EQ(turned.height, height);

                Picture destination(width, height, bpp, !sourceBottomUp);
                ASSERT_TRUE(TurnPixelRows(static_cast<ExifOrientation>(o), bpp, source.Rows(), destination.Rows()));
                EXPECT_EQ(destination.Letters(), want);

                Picture back(5, 3, bpp, sourceBottomUp);
                ASSERT_TRUE(TurnPixelRows(static_cast<ExifOrientation>(inverse[o - 1]), bpp, destination.Rows(),
                                          back.Rows()));
                EXPECT_EQ(back.Letters(), kStored);
            }
        }
    }
}

TEST(OrientationTurn, RefusesWhatDoesNotFitAndWritesNothing) {
    Picture source(5, 3, 3, true);
    source.Paint(kStored);
    Picture upright(5, 3, 3, true);
    Picture turned(3, 5, 3, true);

    EXPECT_FALSE(TurnPixelRows(ExifOrientation::kTurnClockwise, 3, source.Rows(), upright.Rows()));
    EXPECT_FALSE(TurnPixelRows(ExifOrientation::kAsStored, 3, source.Rows(), turned.Rows()));
    EXPECT_FALSE(TurnPixelRows(ExifOrientation::kTurnClockwise, 2, source.Rows(), turned.Rows()));
    EXPECT_FALSE(TurnPixelRows(static_cast<ExifOrientation>(0), 3, source.Rows(), upright.Rows()));
    EXPECT_FALSE(TurnPixelRows(static_cast<ExifOrientation>(9), 3, source.Rows(), upright.Rows()));
    PixelRows narrow = turned.Rows();
    narrow.stride = -8;  // shorter than a line of three pixels
    EXPECT_FALSE(TurnPixelRows(ExifOrientation::kTurnClockwise, 3, source.Rows(), narrow));
    EXPECT_EQ(turned.bytes, std::vector<uint8_t>(turned.bytes.size(), kPad));
    EXPECT_EQ(upright.bytes, std::vector<uint8_t>(upright.bytes.size(), kPad));
}

}  // namespace
