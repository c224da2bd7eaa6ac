#include "imaging/opaque_runs.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr uint32_t kKey = 0x00302010;  // red 0x10, green 0x20, blue 0x30

// A run as left, top, right, bottom, which the test framework prints.
using Run = std::array<int32_t, 4>;

// The plain per-pixel scan the fast one must agree with.
std::vector<Run> ReferenceRuns(const std::vector<uint8_t>& line, int width, uint32_t key, int y) {
    std::vector<Run> runs;
    auto transparent = [&](int x) {
        return line[3 * x] == ((key >> 16) & 0xFF) && line[3 * x + 1] == ((key >> 8) & 0xFF) &&
               line[3 * x + 2] == (key & 0xFF);
    };
    for (int x = 0; x < width;) {
        int i = x;
        while (i < width && !transparent(i)) {
            ++i;
        }
        if (i > x) {
            runs.push_back({x, y, i, y + 1});
        }
        x = i + 1;
    }
    return runs;
}

std::vector<Run> FastRuns(const std::vector<uint8_t>& line, int width, uint32_t key, int y) {
    std::vector<RunRect> runs(MostRunsInLine(width) + 1, RunRect{-1, -1, -1, -1});
    const size_t n = ScanOpaqueRunsInLine(line.data(), width, key, y, runs.data());
    EXPECT_LE(n, MostRunsInLine(width));
    EXPECT_EQ(runs[MostRunsInLine(width)].left, -1);  // nothing written past the promised room
    std::vector<Run> found;
    for (size_t i = 0; i < n; ++i) {
        found.push_back({runs[i].left, runs[i].top, runs[i].right, runs[i].bottom});
    }
    return found;
}

void SetPixel(std::vector<uint8_t>& line, int x, uint32_t colorRef) {
    line[3 * x] = static_cast<uint8_t>(colorRef >> 16);
    line[3 * x + 1] = static_cast<uint8_t>(colorRef >> 8);
    line[3 * x + 2] = static_cast<uint8_t>(colorRef);
}

// Densities 0 and 100 give lines with no key pixel and with only key pixels.
// Lines exactly 3 * width bytes long: the last pixel's neighbour byte is past
// the end, which the sanitizer build would report if the scan read it.
TEST(OpaqueRuns, AgreesWithThePlainScanOnRandomLines) {
    std::mt19937 random(12345);
    for (int width = 1; width <= 70; ++width) {
        for (int density : {0, 10, 50, 90, 100}) {
            for (int trial = 0; trial < 20; ++trial) {
                std::vector<uint8_t> line(3 * width);
                for (int x = 0; x < width; ++x) {
                    if (static_cast<int>(random() % 100) < density) {
                        SetPixel(line, x, kKey);
                    } else {
                        // Near misses: one channel off by one, or a random colour.
                        uint32_t c = random() % 4 == 0 ? (kKey ^ (1u << (random() % 3 * 8))) : random() & 0xFFFFFF;
                        if (c == kKey) {
                            c ^= 1;
                        }
                        SetPixel(line, x, c);
                    }
                }
                ASSERT_EQ(FastRuns(line, width, kKey, 7), ReferenceRuns(line, width, kKey, 7)) << "width " << width;
            }
        }
    }
    EXPECT_EQ(ScanOpaqueRunsInLine(nullptr, 0, kKey, 0, nullptr), 0u);
}

}  // namespace
