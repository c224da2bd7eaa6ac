#include "imaging/blend_kernels.h"

#include <immintrin.h>

#include <cstring>

#include "imaging/cpu_features.h"
#include "imaging/kernel_targets.h"

namespace {

constexpr size_t PACKED_STEP = 8;
constexpr unsigned FULL_WEIGHT = 256;

size_t PackedBytes(size_t bytes) { return bytes & ~(PACKED_STEP - 1); }

// p + floor((b - p) * level / 256) computed as (p * (256 - level) + b * level) >> 8:
// both are floor((256 p + (b - p) level) / 256), and the sum stays within
// 0..65280, so 16-bit unsigned lanes hold it without loss. SSE2 has no byte
// multiply-add, and every exact form tried (masks instead of unpacks, one
// multiply of the difference per lane, a chain of byte averages) costs about
// as many vector operations per 16 bytes as this one, so it is arithmetic,
// not memory, that bounds it; this form is the plainest.
GLEAMO_SSE2_KERNEL inline __m128i BlendHalves128(__m128i p, __m128i b, __m128i wp, __m128i wb) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), wp),
                                                    _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), wb)),
                                      8);
    const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), wp),
                                                    _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), wb)),
                                      8);
    return _mm_packus_epi16(lo, hi);
}

// The AVX2 kernels have byte multiply-adds: each output byte is one
// unsigned-weight by signed-byte product pair. The weights (256 - level, level)
// fit a byte for level 1..255; the pixels are biased by -128 to fit signed
// bytes, and as the weights sum to 256 the pair sums to exactly
// p * (256 - level) + b * level - 32768, which a signed 16-bit lane holds.
// Shifting that arithmetically by 8 gives the result - 128, which the signed
// pack keeps without saturating; flipping the bias back restores it.
GLEAMO_AVX2_KERNEL inline __m256i BlendBiased256(__m256i pBiased, __m256i bBiased, __m256i weights,
                                                 __m256i bias) {
    const __m256i lo = _mm256_srai_epi16(_mm256_maddubs_epi16(weights, _mm256_unpacklo_epi8(pBiased, bBiased)), 8);
    const __m256i hi = _mm256_srai_epi16(_mm256_maddubs_epi16(weights, _mm256_unpackhi_epi8(pBiased, bBiased)), 8);
    // Unpack and pack both work within each 128-bit lane, so the bytes come
    // back in their original order.
    return _mm256_xor_si256(_mm256_packs_epi16(lo, hi), bias);
}

GLEAMO_AVX2_KERNEL inline __m128i BlendBiased128(__m128i pBiased, __m128i bBiased, __m128i weights, __m128i bias) {
    const __m128i lo = _mm_srai_epi16(_mm_maddubs_epi16(weights, _mm_unpacklo_epi8(pBiased, bBiased)), 8);
    const __m128i hi = _mm_srai_epi16(_mm_maddubs_epi16(weights, _mm_unpackhi_epi8(pBiased, bBiased)), 8);
    return _mm_xor_si128(_mm_packs_epi16(lo, hi), bias);
}

}  // namespace

void BlendSpanBytewise(const uint8_t* picture, const uint8_t* background, uint8_t* out, size_t bytes,
                       unsigned level) {
    const int l = static_cast<int>(level);
    for (size_t i = 0; i < bytes; ++i) {
        const int p = picture[i];
        out[i] = static_cast<uint8_t>(p + (background[i] - p) * l / 255);
    }
}

GLEAMO_SCALAR_KERNEL
void BlendSpanPackedScalar(const uint8_t* picture, const uint8_t* background, uint8_t* out, size_t bytes,
                           unsigned level) {
    const unsigned wp = FULL_WEIGHT - level;
    const size_t end = PackedBytes(bytes);
    GLEAMO_SCALAR_LOOP
    for (size_t i = 0; i < end; ++i) {
        out[i] = static_cast<uint8_t>((picture[i] * wp + background[i] * level) >> 8);
    }
}

GLEAMO_SSE2_KERNEL
void BlendSpanPackedSse2(const uint8_t* picture, const uint8_t* background, uint8_t* out, size_t bytes,
                         unsigned level) {
    const size_t end = PackedBytes(bytes);
    const __m128i wp = _mm_set1_epi16(static_cast<short>(FULL_WEIGHT - level));
    const __m128i wb = _mm_set1_epi16(static_cast<short>(level));
    size_t i = 0;
    for (; i + 16 <= end; i += 16) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(picture + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(background + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), BlendHalves128(p, b, wp, wb));
    }
    if (i < end) {  // one 8-byte step left
        const __m128i p = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(picture + i));
        const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(background + i));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), BlendHalves128(p, b, wp, wb));
    }
}

GLEAMO_AVX2_KERNEL
void BlendSpanPackedAvx2(const uint8_t* picture, const uint8_t* background, uint8_t* out, size_t bytes,
                         unsigned level) {
    const size_t end = PackedBytes(bytes);
    if (level == 0) {  // weight 256 does not fit a byte; the result is the picture
        if (end != 0) {    // an empty span may come with null pointers
            memcpy(out, picture, end);
        }
        return;
    }
    const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
    const __m256i weights = _mm256_set1_epi16(static_cast<short>((FULL_WEIGHT - level) | (level << 8)));
    size_t i = 0;
    for (; i + 32 <= end; i += 32) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(picture + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(background + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            BlendBiased256(_mm256_xor_si256(p, bias), _mm256_xor_si256(b, bias), weights, bias));
    }
    // The 9 spare bytes of a row do not cover a 32-byte step: finish with
    // 16- and 8-byte steps (VEX-encoded here, so no transition penalty).
    const __m128i bias128 = _mm256_castsi256_si128(bias);
    const __m128i weights128 = _mm256_castsi256_si128(weights);
    if (i + 16 <= end) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(picture + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(background + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         BlendBiased128(_mm_xor_si128(p, bias128), _mm_xor_si128(b, bias128), weights128, bias128));
        i += 16;
    }
    if (i < end) {
        const __m128i p = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(picture + i));
        const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(background + i));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i),
                         BlendBiased128(_mm_xor_si128(p, bias128), _mm_xor_si128(b, bias128), weights128, bias128));
    }
    // Callers may go on into legacy-SSE code; dirty upper halves would slow it.
    _mm256_zeroupper();
}

void LightenSpanBytewise(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level) {
    for (size_t i = 0; i < bytes; ++i) {
        const unsigned v = picture[i] + level;
        out[i] = static_cast<uint8_t>(v > 255 ? 255 : v);
    }
}

GLEAMO_SCALAR_KERNEL
void LightenSpanPackedScalar(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level) {
    const size_t end = PackedBytes(bytes);
    GLEAMO_SCALAR_LOOP
    for (size_t i = 0; i < end; ++i) {
        const unsigned v = picture[i] + level;
        out[i] = static_cast<uint8_t>(v > 255 ? 255 : v);
    }
}

// 16-byte steps from i up to end, then the 8-byte step a whole number of
// 8-byte steps may leave. Inlined into the AVX2 kernel it is VEX-encoded.
GLEAMO_SSE2_KERNEL inline void LightenSteps128(const uint8_t* picture, uint8_t* out, size_t i, size_t end,
                                               __m128i add) {
    for (; i + 16 <= end; i += 16) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(picture + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_adds_epu8(p, add));
    }
    if (i < end) {
        const __m128i p = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(picture + i));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_adds_epu8(p, add));
    }
}

GLEAMO_SSE2_KERNEL
void LightenSpanPackedSse2(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level) {
    LightenSteps128(picture, out, 0, PackedBytes(bytes), _mm_set1_epi8(static_cast<char>(level)));
}

GLEAMO_AVX2_KERNEL
void LightenSpanPackedAvx2(const uint8_t* picture, uint8_t* out, size_t bytes, unsigned level) {
    const size_t end = PackedBytes(bytes);
    const __m256i add = _mm256_set1_epi8(static_cast<char>(level));
    size_t i = 0;
    for (; i + 32 <= end; i += 32) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(picture + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_adds_epu8(p, add));
    }
    LightenSteps128(picture, out, i, end, _mm256_castsi256_si128(add));
    _mm256_zeroupper();
}

BlendKernels BlendKernelsFor(BlendKernelSet set) {
    switch (set) {
    case BlendKernelSet::kPackedAvx2:
        return {BlendSpanPackedAvx2, LightenSpanPackedAvx2, true};
    case BlendKernelSet::kPackedSse2:
        return {BlendSpanPackedSse2, LightenSpanPackedSse2, true};
    case BlendKernelSet::kPackedScalar:
        return {BlendSpanPackedScalar, LightenSpanPackedScalar, true};
    case BlendKernelSet::kBytewise:
    default:
        return {BlendSpanBytewise, LightenSpanBytewise, false};
    }
}

BlendKernelSet WidestPackedKernelSet() {
    if (CpuHasAvx2()) {
        return BlendKernelSet::kPackedAvx2;
    }
    if (CpuHasSse2()) {
        return BlendKernelSet::kPackedSse2;
    }
    return BlendKernelSet::kPackedScalar;
}
