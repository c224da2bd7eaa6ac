// The per-byte fade arithmetic of the slide layer, on spans of 24-bit pixels.
// No Win32 here.
//
// Packed form, used when the processor has MMX:  p + floor((b - p) * level / 256)
// Byte-wise form, used otherwise:                p + trunc((b - p) * level / 255)
// Without a background:                          min(255, p + level)
//
// The packed kernels work in whole 8-byte steps: of a span of `bytes` bytes
// they write exactly the first floor(bytes / 8) * 8 and leave the rest as it
// is (the layer's spare columns take that remainder). The byte-wise kernels
// write every byte. level is 0..255; out never overlaps the inputs.
#pragma once

#include <cstddef>
#include <cstdint>

using BlendSpanFunction = void (*)(const uint8_t* picture, const uint8_t* background, uint8_t* out,
                                   size_t bytes, unsigned level);
using LightenSpanFunction = void (*)(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level);

enum class BlendKernelSet {
    kBytewise,
    kPackedScalar,  // the packed formula on a processor without SSE2
    kPackedSse2,
    kPackedAvx2,
};

struct BlendKernels {
    BlendSpanFunction blend;
    LightenSpanFunction lighten;
    bool packed;  // 8-byte steps with a remainder left alone, or every byte
};

BlendKernels BlendKernelsFor(BlendKernelSet set);

// The widest packed set this processor runs. Reads CPUID; call it once.
BlendKernelSet WidestPackedKernelSet();

void BlendSpanBytewise(const uint8_t* picture, const uint8_t* background, uint8_t* out, size_t bytes,
                       unsigned level);
void BlendSpanPackedScalar(const uint8_t* picture, const uint8_t* background, uint8_t* out, size_t bytes,
                           unsigned level);
void BlendSpanPackedSse2(const uint8_t* picture, const uint8_t* background, uint8_t* out, size_t bytes,
                         unsigned level);
void BlendSpanPackedAvx2(const uint8_t* picture, const uint8_t* background, uint8_t* out, size_t bytes,
                         unsigned level);

void LightenSpanBytewise(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level);
void LightenSpanPackedScalar(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level);
void LightenSpanPackedSse2(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level);
void LightenSpanPackedAvx2(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level);
