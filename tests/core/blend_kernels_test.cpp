#include "imaging/blend_kernels.h"

#include <gtest/gtest.h>

#include <cstdint>
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
};

std::vector<Implementation> Implementations() {
    return {
        {"bytewise", BlendSpanBytewise, LightenSpanBytewise, false, true},
        {"packed scalar", BlendSpanPackedScalar, LightenSpanPackedScalar, true, true},
        {"packed SSE2", BlendSpanPackedSse2, LightenSpanPackedSse2, true, CpuHasSse2()},
        {"packed AVX2", BlendSpanPackedAvx2, LightenSpanPackedAvx2, true, CpuHasAvx2()},
    };
}

// Every (p, b) pair at once: byte i of the span is p = i / 256, b = i % 256.
TEST(BlendKernels, EveryImplementationEqualsItsFormulaForAllInputs) {
    std::vector<uint8_t> picture(kPairs), background(kPairs), out(kPairs), expected(kPairs);
    for (size_t i = 0; i < kPairs; ++i) {
        picture[i] = static_cast<uint8_t>(i >> 8);
        background[i] = static_cast<uint8_t>(i);
    }
    for (const Implementation& kernel : Implementations()) {
        if (!kernel.available) {
            std::printf("[ skipped  ] %s: not offered by this processor\n", kernel.name);
            continue;
        }
        for (int level = 0; level <= 255; ++level) {
            for (size_t i = 0; i < kPairs; ++i) {
                expected[i] = kernel.packed ? PackedFormula(picture[i], background[i], level)
                                            : BytewiseFormula(picture[i], background[i], level);
            }
            kernel.blend(picture.data(), background.data(), out.data(), kPairs, static_cast<unsigned>(level));
            ASSERT_EQ(0, std::memcmp(out.data(), expected.data(), kPairs)) << kernel.name << " at level " << level;
        }
    }
}

TEST(BlendKernels, LightenEqualsItsFormulaForAllInputs) {
    std::vector<uint8_t> picture(256), out(256);
    for (int p = 0; p < 256; ++p) {
        picture[p] = static_cast<uint8_t>(p);
    }
    for (const Implementation& kernel : Implementations()) {
        if (!kernel.available) {
            continue;
        }
        for (int level = 0; level <= 255; ++level) {
            kernel.lighten(picture.data(), out.data(), 256, static_cast<unsigned>(level));
            for (int p = 0; p < 256; ++p) {
                ASSERT_EQ(out[p], LightenFormula(p, level)) << kernel.name << " p " << p << " level " << level;
            }
        }
    }
}

TEST(BlendKernels, EndpointsOfTheTwoForms) {
    // Level 0 is the picture in both; at 255 the byte-wise form reaches the
    // background and the packed one stops one short where b > p.
    for (int p = 0; p < 256; ++p) {
        for (int b = 0; b < 256; ++b) {
            ASSERT_EQ(PackedFormula(p, b, 0), p);
            ASSERT_EQ(BytewiseFormula(p, b, 0), p);
            ASSERT_EQ(BytewiseFormula(p, b, 255), b);
            ASSERT_EQ(PackedFormula(p, b, 255), b > p ? b - 1 : b);
            for (int level : {1, 77, 128, 254}) {
                const int diff = PackedFormula(p, b, level) - BytewiseFormula(p, b, level);
                ASSERT_LE(diff < 0 ? -diff : diff, 1);
            }
        }
    }
}

// Spans of every length at every alignment: the packed kernels write exactly
// the whole 8-byte steps, the byte-wise ones every byte, and nothing around
// the span changes. The heap blocks are exactly as long as the data, so the
// sanitizer sees any read past the end.
TEST(BlendKernels, SpansOfEveryLengthAndAlignmentStayInside) {
    constexpr size_t kGuard = 40;
    constexpr uint8_t kUntouched = 0xA5;
    constexpr unsigned kLevel = 200;
    for (const Implementation& kernel : Implementations()) {
        if (!kernel.available) {
            continue;
        }
        for (size_t length = 0; length <= 64; ++length) {
            for (size_t align = 0; align < 32; ++align) {
                std::vector<uint8_t> picture(align + length), background(align + length);
                for (size_t i = 0; i < picture.size(); ++i) {
                    picture[i] = static_cast<uint8_t>(i * 37 + 11);
                    background[i] = static_cast<uint8_t>(255 - i * 53);
                }
                std::vector<uint8_t> out(kGuard + align + length + kGuard, kUntouched);
                uint8_t* span = out.data() + kGuard + align;
                kernel.blend(picture.data() + align, background.data() + align, span, length, kLevel);
                const size_t written = kernel.packed ? length / 8 * 8 : length;
                for (size_t i = 0; i < out.size(); ++i) {
                    const bool inSpan = i >= kGuard + align && i < kGuard + align + written;
                    if (inSpan) {
                        const size_t s = i - kGuard;
                        const uint8_t want = kernel.packed ? PackedFormula(picture[s], background[s], kLevel)
                                                           : BytewiseFormula(picture[s], background[s], kLevel);
                        ASSERT_EQ(out[i], want) << kernel.name << " length " << length << " align " << align;
                    } else {
                        ASSERT_EQ(out[i], kUntouched) << kernel.name << " length " << length << " align " << align
                                                      << " byte " << i;
                    }
                }
                std::vector<uint8_t> lightened(kGuard + align + length + kGuard, kUntouched);
                kernel.lighten(picture.data() + align, lightened.data() + kGuard + align, length, kLevel);
                for (size_t i = 0; i < lightened.size(); ++i) {
                    const bool inSpan = i >= kGuard + align && i < kGuard + align + written;
                    ASSERT_EQ(lightened[i], inSpan ? LightenFormula(picture[i - kGuard], kLevel) : kUntouched)
                        << kernel.name << " lighten length " << length << " align " << align;
                }
            }
        }
    }
}

TEST(BlendKernels, DispatchPicksAPackedSetTheProcessorRuns) {
    const BlendKernelSet widest = WidestPackedKernelSet();
    EXPECT_NE(widest, BlendKernelSet::kBytewise);
    EXPECT_TRUE(BlendKernelsFor(widest).packed);
    EXPECT_FALSE(BlendKernelsFor(BlendKernelSet::kBytewise).packed);
    if (CpuHasAvx2()) {
        EXPECT_EQ(widest, BlendKernelSet::kPackedAvx2);
    } else if (CpuHasSse2()) {
        EXPECT_EQ(widest, BlendKernelSet::kPackedSse2);
    }
    EXPECT_TRUE(CpuHasMmx());  // every processor this runs on in tests has it
}

}  // namespace
