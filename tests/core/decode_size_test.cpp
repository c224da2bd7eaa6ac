#include "imaging/decode_size.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "imaging/area_shrink.h"

namespace {

constexpr uint32_t kLimit = static_cast<uint32_t>(MAX_SHRINK_SIDE);

// Sides a decoder may report, up to the largest a 32-bit count holds: a
// product or a rounding up of them must not wrap.
TEST(DecodeSize, LineBlocksBeyondThirtyTwoBitsAreRefusedNotWrapped) {
    struct Case {
        uint32_t width, height, bytesPerPixel;
        bool fits;
        uint32_t stride, bytes;
    } cases[] = {
        {5, 3, 3, 1, 16, 48},
        {UINT32_MAX / 4, 1, 4, 1, UINT32_MAX - 3, UINT32_MAX - 3},
        {1u << 30, 1, 4, 0, 0, 0},         // the stride alone is 2^32
        {65536, 65536, 3, 0, 0, 0},        // 3 * 2^32 bytes
        {21846, 65536, 3, 0, 0, 0},        // 65540 * 65536 bytes, just over
        {UINT32_MAX, UINT32_MAX, 4, 0, 0, 0},
        {0, 7, 3, 0, 0, 0},
        {7, 0, 3, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LineBlock block = {1, 1};
        ASSERT_EQ(LineBlockOf(c.width, c.height, c.bytesPerPixel, &block), c.fits) << c.width << " x " << c.height;
        if (c.fits) {
            EXPECT_EQ(std::make_pair(block.stride, block.bytes), std::make_pair(c.stride, c.bytes)) << c.width;
        }
    }
}

TEST(DecodeSize, AReductionServesOnlyWhenItKeepsTheTargetAndFitsTheShrink) {
    const DecodeSize huge = {UINT32_MAX, UINT32_MAX};
    EXPECT_EQ(ReducedSize(huge, 2), (DecodeSize{0x80000000u, 0x80000000u}));
    EXPECT_EQ(ReducedSize({4001, 3000}, 8), (DecodeSize{501, 375}));
    struct Case {
        DecodeSize stored, reduced, target;
        bool serves;
    } cases[] = {
        {{4000, 3000}, {500, 375}, {500, 375}, true},
        {{4000, 3000}, {500, 375}, {501, 300}, false},                     // narrower than shown
        {{4000, 3000}, {4000, 375}, {100, 100}, false},                    // not reduced at all
        {{300000, 300000}, {37500, 37500}, {1000, 1000}, false},           // too large to shrink
        {huge, ReducedSize(huge, 8), {1000, 1000}, false},
        {{262136, 100}, ReducedSize({262136, 100}, 8), {1000, 10}, true},  // 32767 x 13
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReductionServes(c.stored, c.reduced, c.target), c.serves) << c.reduced.width;
    }
}

TEST(DecodeSize, OnlyASourceTooLargeForTheShrinkIsScaledFirst) {
    struct Case {
        DecodeSize stored, target, scaled;
    } cases[] = {
        {{kLimit, kLimit}, {10, 10}, {kLimit, kLimit}},
        {{40000, 2}, {20000, 1}, {kLimit, 2}},
        {{2, UINT32_MAX}, {1, 1000}, {2, kLimit}},
        {{40000, 40000}, {100, 50}, {kLimit, kLimit}},
        {{40000, 2}, {40000, 2}, {40000, 2}},    // shown as stored: copied, not shrunk
        {{50000, 9}, {35000, 6}, {35000, 6}},    // the scaler does it all
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaledSourceSize(c.stored, c.target), c.scaled) << c.stored.width << " x " << c.stored.height;
    }
}

}  // namespace
