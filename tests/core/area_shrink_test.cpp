#include "imaging/area_shrink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "imaging/cpu_features.h"

namespace {

// Lines of pixels in a vector of exactly the bytes from the lowest line in
// memory to the end of the highest one's pixels, so the sanitizer sees any
// access past them. A bottom-up block starts at its last row.
struct Lines {
    std::vector<uint8_t> memory;
    uint8_t* line0;
    int width, height, bytesPerPixel;
    ptrdiff_t stride;

    Lines(int w, int h, int bpp, int padding = 0, bool bottomUp = false)
        : memory(static_cast<size_t>(h - 1) * (w * bpp + padding) + w * bpp),
          width(w), height(h), bytesPerPixel(bpp), stride(w * bpp + padding) {
        line0 = memory.data() + (bottomUp ? (h - 1) * stride : 0);
        stride = bottomUp ? -stride : stride;
    }
    uint8_t* Pixel(int x, int y) const { return line0 + y * stride + x * bytesPerPixel; }
};

int64_t Shared(int64_t from, int64_t to, int64_t otherFrom, int64_t otherTo) {
    return std::max<int64_t>(0, std::min(to, otherTo) - std::max(from, otherFrom));
}

// The arithmetic as the header states it, one target byte at a time, looking
// one source pixel past the covered ones on every side (their weight is 0).
std::vector<uint8_t> ReferenceShrink(const Lines& source, int64_t dw, int64_t dh) {
    const int64_t sw = source.width, sh = source.height, total = sw * sh;
    std::vector<uint8_t> out;
    for (int64_t y = 0; y < dh; ++y) {
        for (int64_t x = 0; x < dw; ++x) {
            for (int c = 0; c < source.bytesPerPixel; ++c) {
                uint64_t t = 0;
                for (int64_t j = std::max<int64_t>(0, y * sh / dh - 1); j < std::min(sh, (y + 1) * sh / dh + 2); ++j) {
                    for (int64_t i = std::max<int64_t>(0, x * sw / dw - 1); i < std::min(sw, (x + 1) * sw / dw + 2);
                         ++i) {
                        const int64_t w = Shared(y * sh, (y + 1) * sh, j * dh, (j + 1) * dh) *
                                          Shared(x * sw, (x + 1) * sw, i * dw, (i + 1) * dw);
                        t += w * source.Pixel(static_cast<int>(i), static_cast<int>(j))[c];
                    }
                }
                out.push_back(static_cast<uint8_t>((2 * t + total) / (2 * total)));
            }
        }
    }
    return out;
}

struct KernelSet {
    const char* name;
    AreaShrinkKernelSet set;
    bool offered;
};

// The kernel sets this processor runs.
std::vector<KernelSet> KernelSets() {
    std::vector<KernelSet> runnable;
    for (const KernelSet& kernels : {KernelSet{"scalar", AreaShrinkKernelSet::kScalar, true},
                                     KernelSet{"SSE2", AreaShrinkKernelSet::kSse2, CpuHasSse2()},
                                     KernelSet{"AVX2", AreaShrinkKernelSet::kAvx2, CpuHasAvx2()}}) {
        if (kernels.offered) {
            runnable.push_back(kernels);
        } else {
            std::printf("[ skipped  ] %s: not offered by this processor\n", kernels.name);
        }
    }
    return runnable;
}

bool Shrink(const Lines& from, const Lines& to, AreaShrinkKernelSet set = WidestAreaShrinkKernelSet()) {
    std::vector<uint8_t> scratch(AreaShrinkScratchBytes(from.width, to.width, from.bytesPerPixel));
    return ShrinkArea({from.line0, from.width, from.height, from.stride}, {to.line0, to.width, to.height, to.stride},
                      from.bytesPerPixel, set, scratch.data(), scratch.size());
}

// Every kernel set against the reference: odd ratios such as 7 to 3, whole
// ratios (the plain mean of each block), 1 x 1 and identity targets,
// one-pixel-thin images, padded and bottom-up lines, 24 and 32 bits. The
// target's padding keeps its bytes.
TEST(AreaShrink, EveryKernelSetEqualsTheReference) {
    std::vector<std::vector<int>> cases = {{1, 1, 1, 1},     {37, 23, 1, 1},   {13, 7, 13, 7}, {1, 50, 1, 7},
                                           {50, 1, 7, 1},    {7, 7, 3, 3},     {12, 6, 6, 3},  {12, 6, 4, 3},
                                           {300, 5, 299, 2}, {1000, 3, 333, 2}};
    std::mt19937 random(20240611);
    auto below = [&](int n) { return static_cast<int>(random() % n); };
    for (int n = 0; n < 300; ++n) {
        const int sw = 1 + below(n % 10 == 0 ? 400 : 60), sh = 1 + below(40);
        cases.push_back({sw, sh, 1 + below(sw), 1 + below(sh)});
    }
    constexpr uint8_t kUntouched = 0xA5;
    for (const std::vector<int>& c : cases) {
        const int bpp = 3 + below(2), dw = c[2], dh = c[3];
        Lines source(c[0], c[1], bpp, below(9), below(2) == 1);
        std::generate(source.memory.begin(), source.memory.end(), [&] { return static_cast<uint8_t>(random()); });
        const std::vector<uint8_t> expected = ReferenceShrink(source, dw, dh);
        for (const KernelSet& kernels : KernelSets()) {
            Lines target(dw, dh, bpp, 1 + below(9), below(2) == 1);
            std::fill(target.memory.begin(), target.memory.end(), kUntouched);
            ASSERT_TRUE(Shrink(source, target, kernels.set));
            std::vector<uint8_t> lines;
            for (int y = 0; y < dh; ++y) {
                lines.insert(lines.end(), target.Pixel(0, y), target.Pixel(dw, y));
                std::fill(target.Pixel(0, y), target.Pixel(dw, y), kUntouched);
            }
            ASSERT_EQ(lines, expected) << kernels.name << " " << c[0] << "x" << c[1] << " to " << dw << "x" << dh
                                       << " at " << bpp << " bytes per pixel";
            ASSERT_EQ(target.memory, std::vector<uint8_t>(target.memory.size(), kUntouched)) << kernels.name;
        }
    }
}

// Hands the lines of a whole source over, checking the order the feed
// promises: each read starts where the previous one ended.
class VectorFeed : public SourceLineFeed {
public:
    explicit VectorFeed(const Lines& source, int failAtRead = -1) : source_(source), failAt_(failAtRead) {}
    bool Read(int32_t first, int32_t count, uint8_t* lines, ptrdiff_t stride) override {
        EXPECT_EQ(first, next_);
        EXPECT_GT(count, 0);
        if (reads_++ == failAt_) {
            return false;
        }
        for (int32_t k = 0; k < count; ++k) {
            std::copy(source_.Pixel(0, first + k), source_.Pixel(source_.width, first + k), lines + k * stride);
        }
        next_ = first + count;
        return true;
    }
    int32_t next_ = 0;
    int reads_ = 0;

private:
    const Lines& source_;
    int failAt_;
};

// Fed a band at a time, the shrink gives what it gives from the whole
// source, reads every line exactly once, and stops when the feed fails.
TEST(AreaShrink, AFedSourceShrinksAsAWholeOneAndIsReadOnce) {
    std::mt19937 random(20261207);
    auto below = [&](int n) { return static_cast<int>(random() % n); };
    for (int n = 0; n < 200; ++n) {
        const int sw = 1 + below(90), sh = 1 + below(n % 4 == 0 ? 400 : 50);
        const int dw = 1 + below(sw), dh = 1 + below(sh), bpp = 3 + below(2);
        Lines source(sw, sh, bpp);
        std::generate(source.memory.begin(), source.memory.end(), [&] { return static_cast<uint8_t>(random()); });
        Lines whole(dw, dh, bpp), fed(dw, dh, bpp);
        ASSERT_TRUE(Shrink(source, whole));
        VectorFeed feed(source);
        std::vector<uint8_t> scratch(AreaShrinkFeedScratchBytes(sw, sh, dw, dh, bpp));
        ASSERT_TRUE(ShrinkAreaFromFeed(sw, sh, feed, {fed.line0, dw, dh, fed.stride}, bpp,
                                       WidestAreaShrinkKernelSet(), scratch.data(), scratch.size()));
        ASSERT_EQ(fed.memory, whole.memory) << sw << "x" << sh << " to " << dw << "x" << dh;
        ASSERT_EQ(feed.next_, sh);
    }
    Lines source(10, 200, 3), target(5, 10, 3);
    VectorFeed failing(source, 1);
    std::vector<uint8_t> scratch(AreaShrinkFeedScratchBytes(10, 200, 5, 10, 3));
    EXPECT_FALSE(ShrinkAreaFromFeed(10, 200, failing, {target.line0, 5, 10, 15}, 3, WidestAreaShrinkKernelSet(),
                                    scratch.data(), scratch.size()));
    EXPECT_EQ(failing.reads_, 2);
    EXPECT_FALSE(ShrinkAreaFromFeed(10, 200, failing, {target.line0, 5, 10, 15}, 3, WidestAreaShrinkKernelSet(),
                                    scratch.data(), scratch.size() - 1));
}

// A tall white source shrunk to two pixels: the sums of a target column pass
// 2^31 and T passes 2^32, so a sum that wraps anywhere shows as a colour that
// is not white.
TEST(AreaShrink, TheLargestSumsKeepEveryBit) {
    Lines source(520, MAX_SHRINK_SIDE, 3);
    std::fill(source.memory.begin(), source.memory.end(), 255);
    for (const KernelSet& kernels : KernelSets()) {
        Lines target(2, 1, 3);
        ASSERT_TRUE(Shrink(source, target, kernels.set));
        EXPECT_EQ(target.memory, std::vector<uint8_t>(6, 255)) << kernels.name;
    }
}

TEST(AreaShrink, RefusesWhatItCannotShrinkAndWritesNothing) {
    Lines source(6, 4, 3), target(3, 2, 3);
    std::fill(source.memory.begin(), source.memory.end(), 200);
    std::vector<uint8_t> scratch(AreaShrinkScratchBytes(6, 3, 3));
    const SourceLines s = {source.line0, 6, 4, 18};
    const TargetLines t = {target.line0, 3, 2, 9};
    auto shrink = [&](SourceLines from, TargetLines to, int bpp, size_t scratchBytes) {
        return ShrinkArea(from, to, bpp, WidestAreaShrinkKernelSet(), scratch.data(), scratchBytes);
    };
    const size_t room = scratch.size();
    EXPECT_FALSE(shrink(s, t, 2, room));
    EXPECT_FALSE(shrink(s, t, 3, room - 1));
    EXPECT_FALSE(shrink({nullptr, 6, 4, 18}, t, 3, room));
    EXPECT_FALSE(shrink(s, {target.line0, 3, 0, 9}, 3, room));
    EXPECT_FALSE(shrink(s, {target.line0, 3, 5, 9}, 3, room));
    EXPECT_FALSE(shrink({source.line0, 6, 4, -17}, t, 3, room));
    EXPECT_FALSE(shrink(s, {target.line0, 3, 2, 8}, 3, room));
    EXPECT_EQ(target.memory, std::vector<uint8_t>(target.memory.size(), 0));
    EXPECT_TRUE(shrink(s, t, 3, room));
    EXPECT_EQ(target.memory, std::vector<uint8_t>(target.memory.size(), 200));

    EXPECT_EQ(AreaShrinkScratchBytes(6, 0, 3), 0u);
    EXPECT_EQ(AreaShrinkScratchBytes(6, 7, 3), 0u);
    EXPECT_EQ(AreaShrinkScratchBytes(MAX_SHRINK_SIDE + 1, 1, 3), 0u);
}

}  // namespace
