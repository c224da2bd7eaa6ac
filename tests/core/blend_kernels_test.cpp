#include "imaging/blend_kernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "imaging/cpu_features.h"

namespace {

constexpr size_t kPairs = 256 * 256;

uint8_t PackedFormula(int p, int b, int level) {
    // floor division, written out so that it does not lean on >> of negatives
    const int product = (b - p) * level;
    const int quotient = product >= 0 ? product / 256 : -((-product + 255) / 256);
    return static_cast<uint8_t>(p + quotient);
}

uint8_t BytewiseFormula(int p, int b, int level) { return static_cast<uint8_t>(p + (b - p) * level / 255); }

uint8_t LightenFormula(int p, int level) { return static_cast<uint8_t>(p + level > 255 ? 255 : p + level); }

struct Implementation {
    const char* name;
    BlendSpanFunction blend;
    LightenSpanFunction lighten;
    bool packed;
    bool available;
    uint8_t Blend(int p, int b, int level) const {
        return packed ? PackedFormula(p, b, level) : BytewiseFormula(p, b, level);
    }
};

// The implementations this processor runs.
std::vector<Implementation> Implementations() {
    std::vector<Implementation> runnable;
    for (const Implementation& kernel : {
             Implementation{"bytewise", BlendSpanBytewise, LightenSpanBytewise, false, true},
             Implementation{"packed scalar", BlendSpanPackedScalar, LightenSpanPackedScalar, true, true},
             Implementation{"packed SSE2", BlendSpanPackedSse2, LightenSpanPackedSse2, true, CpuHasSse2()},
             Implementation{"packed AVX2", BlendSpanPackedAvx2, LightenSpanPackedAvx2, true, CpuHasAvx2()}}) {
        if (kernel.available) {
            runnable.push_back(kernel);
        } else {
            std::printf("[ skipped  ] %s: not offered by this processor\n", kernel.name);
        }
    }
    return runnable;
}

// Every (p, b) pair at once: byte i of the span is p = i / 256, b = i % 256;
// the lighten kernels see p = i % 256 over the same span.
TEST(BlendKernels, EveryImplementationEqualsItsFormulaForAllInputs) {
    std::vector<uint8_t> picture(kPairs), background(kPairs), out(kPairs), expected(kPairs);
    for (size_t i = 0; i < kPairs; ++i) {
        picture[i] = static_cast<uint8_t>(i >> 8);
        background[i] = static_cast<uint8_t>(i);
    }
    for (const Implementation& kernel : Implementations()) {
        for (int level = 0; level <= 255; ++level) {
            for (size_t i = 0; i < kPairs; ++i) {
                expected[i] = kernel.Blend(picture[i], background[i], level);
            }
            kernel.blend(picture.data(), background.data(), out.data(), kPairs, static_cast<unsigned>(level));
            ASSERT_EQ(0, std::memcmp(out.data(), expected.data(), kPairs)) << kernel.name << " at level " << level;
            kernel.lighten(background.data(), out.data(), 256, static_cast<unsigned>(level));
            for (int p = 0; p < 256; ++p) {
                ASSERT_EQ(out[p], LightenFormula(p, level)) << kernel.name << " lighten " << p << " at " << level;
            }
        }
    }
}

// Spans of every length at every alignment: the packed kernels write exactly
// the whole 8-byte steps, the byte-wise ones every byte, and nothing around
// the span changes. The inputs are exactly as long as the data, so the
// sanitizer sees any read past the end. Level 0 takes a path of its own in
// some kernels, so it is walked too.
TEST(BlendKernels, SpansOfEveryLengthAndAlignmentStayInside) {
    constexpr size_t kGuard = 40;
    constexpr uint8_t kUntouched = 0xA5;
    for (const Implementation& kernel : Implementations()) {
        for (const unsigned level : {0u, 200u}) {
            for (size_t length = 0; length <= 64; ++length) {
                for (size_t align = 0; align < 32; ++align) {
                    std::vector<uint8_t> picture(align + length), background(align + length);
                    for (size_t i = 0; i < picture.size(); ++i) {
                        picture[i] = static_cast<uint8_t>(i * 37 + 11);
                        background[i] = static_cast<uint8_t>(255 - i * 53);
                    }
                    std::vector<uint8_t> blended(kGuard + align + length + kGuard, kUntouched), lightened = blended;
                    kernel.blend(picture.data() + align, background.data() + align, &blended[kGuard + align], length,
                                 level);
                    kernel.lighten(picture.data() + align, &lightened[kGuard + align], length, level);
                    const size_t written = kernel.packed ? length / 8 * 8 : length;
                    for (size_t i = 0; i < blended.size(); ++i) {
                        const size_t s = i - kGuard;
                        const bool inSpan = i >= kGuard + align && s < align + written;
                        ASSERT_EQ(blended[i], inSpan ? kernel.Blend(picture[s], background[s], level) : kUntouched)
                            << kernel.name << " length " << length << " align " << align << " level " << level;
                        ASSERT_EQ(lightened[i], inSpan ? LightenFormula(picture[s], level) : kUntouched)
                            << kernel.name << " lighten length " << length << " align " << align << " level "
                            << level;
                    }
                }
            }
        }
    }
}

}  // namespace
