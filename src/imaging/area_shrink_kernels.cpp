// The row kernels of the area shrink: scalar, SSE2 and AVX2. No Win32 here.
#include <immintrin.h>

#include <cstring>

#include "imaging/area_shrink.h"
#include "imaging/kernel_targets.h"

namespace {

// T as the header writes it, in 64-bit integers, and one division.
template <int BYTES_PER_PIXEL>
GLEAMO_SCALAR_KERNEL void ReduceLineScalarFor(const int32_t* sums, const ColumnReduction& columns, uint8_t* out) {
    const uint64_t unitsPerColumn = static_cast<uint64_t>(columns.targetWidth);
    const uint64_t total = static_cast<uint64_t>(columns.sourceWidth) * static_cast<uint64_t>(columns.sourceHeight);
    for (int32_t x = 0; x < columns.targetWidth; ++x) {
        const ColumnStart start = columns.starts[x];
        const ColumnStart end = columns.starts[x + 1];
        uint64_t inside[BYTES_PER_PIXEL] = {};
        for (int32_t i = start.first; i < end.first; ++i) {
            for (int c = 0; c < BYTES_PER_PIXEL; ++c) {
                inside[c] += static_cast<uint32_t>(sums[i * BYTES_PER_PIXEL + c]);
            }
        }
        const int32_t* head = sums + start.first * BYTES_PER_PIXEL;
        const int32_t* tail = sums + end.first * BYTES_PER_PIXEL;
        for (int c = 0; c < BYTES_PER_PIXEL; ++c) {
            // Never below 0 on the way: inside[c] holds head[c] in full.
            const uint64_t t = unitsPerColumn * inside[c] - static_cast<uint64_t>(start.cut) * head[c] +
                               static_cast<uint64_t>(end.cut) * tail[c];
            out[x * BYTES_PER_PIXEL + c] = static_cast<uint8_t>((2 * t + total) / (2 * total));
        }
    }
}

// The vector kernels round with doubles instead of dividing integers. Every
// step up to T works on whole numbers below 2^53 (T < 2^38), which doubles
// hold exactly. Then T * fl(1 / N) (N = sw * sh < 2^30) is within 2^-43 of
// T / N (two relative errors of at most 2^-52, even where the 32-bit build
// forms 1 / N in x87 registers and rounds it twice, at a value of at most
// 255), and adding the offset below adds at most 2^-45. T / N is a fraction
// with denominator N: unless it is exactly k + 1/2 it lies more than 2^-31
// from it, so an offset of 1/2 + 2^-40 truncates to the same side as the
// exact value, and an exact half, which the errors could leave just short,
// is lifted over to k + 1 as the integer formula rounds it.
constexpr double ROUNDING_OFFSET = 0.5 + 1.0 / (1ull << 40);

// A line's sums are below 255 * MAX_SHRINK_SIDE < 2^23, so the vector kernels
// add up to 256 of them in 32-bit lanes before they go on in doubles.
constexpr int32_t COLUMNS_PER_INTEGER_RUN = 256;

// Four sums from the column at `sums`: a 32-bit pixel's channels, or a 24-bit
// pixel's and the next one's first (which the caller drops).
GLEAMO_SSE2_KERNEL inline __m128i LoadSums(const int32_t* sums) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums));
}

// The sums of columns [from, min(to, from + COLUMNS_PER_INTEGER_RUN)).
GLEAMO_SSE2_KERNEL inline __m128i AddColumnRun(const int32_t* sums, int bytesPerPixel, int32_t from, int32_t to) {
    const int32_t end = to - from > COLUMNS_PER_INTEGER_RUN ? from + COLUMNS_PER_INTEGER_RUN : to;
    __m128i total = _mm_setzero_si128();
    for (int32_t i = from; i < end; ++i) {
        total = _mm_add_epi32(total, LoadSums(sums + i * bytesPerPixel));
    }
    return total;
}

// Four results of 0..255 in 32-bit lanes into bytes, of which the pixel's go
// to out. A 24-bit pixel with another after it in the line takes a 4-byte
// store, whose last byte the next pixel overwrites.
template <int BYTES_PER_PIXEL>
GLEAMO_SSE2_KERNEL inline void StorePixel(__m128i values, uint8_t* out, bool anotherFollows) {
    const __m128i words = _mm_packs_epi32(values, values);
    const uint32_t bytes = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
    if (BYTES_PER_PIXEL == 4 || anotherFollows) {
        memcpy(out, &bytes, 4);
    } else {
        memcpy(out, &bytes, 3);
    }
}

template <int BYTES_PER_PIXEL>
GLEAMO_SSE2_KERNEL void ReduceLineSse2For(const int32_t* sums, const ColumnReduction& columns, uint8_t* out) {
    const ColumnStart* starts = columns.starts;
    const int32_t width = columns.targetWidth;
    const __m128d unitsPerColumn = _mm_set1_pd(width);
    const __m128d reciprocal = _mm_set1_pd(1.0 / (static_cast<double>(columns.sourceWidth) * columns.sourceHeight));
    const __m128d offset = _mm_set1_pd(ROUNDING_OFFSET);
    for (int32_t x = 0; x < width; ++x) {
        const ColumnStart start = starts[x];
        const ColumnStart end = starts[x + 1];
        // Channels 0 and 1 in `low`, 2 and 3 in `high`.
        __m128i part = AddColumnRun(sums, BYTES_PER_PIXEL, start.first, end.first);
        __m128d low = _mm_cvtepi32_pd(part), high = _mm_cvtepi32_pd(_mm_srli_si128(part, 8));
        for (int32_t run = start.first + COLUMNS_PER_INTEGER_RUN; run < end.first; run += COLUMNS_PER_INTEGER_RUN) {
            part = AddColumnRun(sums, BYTES_PER_PIXEL, run, end.first);
            low = _mm_add_pd(low, _mm_cvtepi32_pd(part));
            high = _mm_add_pd(high, _mm_cvtepi32_pd(_mm_srli_si128(part, 8)));
        }
        const __m128i head = LoadSums(sums + start.first * BYTES_PER_PIXEL);
        const __m128i tail = LoadSums(sums + end.first * BYTES_PER_PIXEL);
        const __m128d headCut = _mm_set1_pd(start.cut), tailCut = _mm_set1_pd(end.cut);
        low = _mm_mul_pd(low, unitsPerColumn);
        low = _mm_sub_pd(low, _mm_mul_pd(headCut, _mm_cvtepi32_pd(head)));
        low = _mm_add_pd(low, _mm_mul_pd(tailCut, _mm_cvtepi32_pd(tail)));
        high = _mm_mul_pd(high, unitsPerColumn);
        high = _mm_sub_pd(high, _mm_mul_pd(headCut, _mm_cvtepi32_pd(_mm_srli_si128(head, 8))));
        high = _mm_add_pd(high, _mm_mul_pd(tailCut, _mm_cvtepi32_pd(_mm_srli_si128(tail, 8))));
        const __m128i lowValues = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(low, reciprocal), offset));
        const __m128i highValues = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(high, reciprocal), offset));
        StorePixel<BYTES_PER_PIXEL>(_mm_unpacklo_epi64(lowValues, highValues), out + x * BYTES_PER_PIXEL,
                                   x + 1 < width);
    }
}

template <int BYTES_PER_PIXEL>
GLEAMO_AVX2_KERNEL void ReduceLineAvx2For(const int32_t* sums, const ColumnReduction& columns, uint8_t* out) {
    const ColumnStart* starts = columns.starts;
    const int32_t width = columns.targetWidth;
    const __m256d unitsPerColumn = _mm256_set1_pd(width);
    const __m256d reciprocal =
        _mm256_set1_pd(1.0 / (static_cast<double>(columns.sourceWidth) * columns.sourceHeight));
    const __m256d offset = _mm256_set1_pd(ROUNDING_OFFSET);
    for (int32_t x = 0; x < width; ++x) {
        const ColumnStart start = starts[x];
        const ColumnStart end = starts[x + 1];
        __m256d inside = _mm256_cvtepi32_pd(AddColumnRun(sums, BYTES_PER_PIXEL, start.first, end.first));
        for (int32_t run = start.first + COLUMNS_PER_INTEGER_RUN; run < end.first; run += COLUMNS_PER_INTEGER_RUN) {
            inside = _mm256_add_pd(inside, _mm256_cvtepi32_pd(AddColumnRun(sums, BYTES_PER_PIXEL, run, end.first)));
        }
        const __m256d head = _mm256_cvtepi32_pd(LoadSums(sums + start.first * BYTES_PER_PIXEL));
        const __m256d tail = _mm256_cvtepi32_pd(LoadSums(sums + end.first * BYTES_PER_PIXEL));
        __m256d t = _mm256_mul_pd(inside, unitsPerColumn);
        t = _mm256_sub_pd(t, _mm256_mul_pd(_mm256_set1_pd(start.cut), head));
        t = _mm256_add_pd(t, _mm256_mul_pd(_mm256_set1_pd(end.cut), tail));
        const __m128i values = _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(t, reciprocal), offset));
        StorePixel<BYTES_PER_PIXEL>(values, out + x * BYTES_PER_PIXEL, x + 1 < width);
    }
    _mm256_zeroupper();
}

// Sixteen bytes of lines a and b, interleaved and widened to 16 bits, give
// weightA * a[k] + weightB * b[k] in 32-bit lanes with one multiply-add per
// four of them: the weights are at most 32767, so they fit signed 16-bit
// lanes, and two products of a byte stay below 2^31.
template <bool kFirst>
GLEAMO_SSE2_KERNEL inline void AddLinePairSteps128(const uint8_t* a, const uint8_t* b, __m128i weights, int32_t* sums,
                                                   size_t end) {
    const __m128i zero = _mm_setzero_si128();
    for (size_t k = 0; k + 16 <= end; k += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k));
        const __m128i pairsLow = _mm_unpacklo_epi8(x, y);  // a0 b0 a1 b1 ... a7 b7
        const __m128i pairsHigh = _mm_unpackhi_epi8(x, y);
        __m128i s[4] = {
            _mm_madd_epi16(_mm_unpacklo_epi8(pairsLow, zero), weights),
            _mm_madd_epi16(_mm_unpackhi_epi8(pairsLow, zero), weights),
            _mm_madd_epi16(_mm_unpacklo_epi8(pairsHigh, zero), weights),
            _mm_madd_epi16(_mm_unpackhi_epi8(pairsHigh, zero), weights),
        };
        __m128i* to = reinterpret_cast<__m128i*>(sums + k);
        for (int q = 0; q < 4; ++q) {
            if (!kFirst) {
                s[q] = _mm_add_epi32(s[q], _mm_loadu_si128(to + q));
            }
            _mm_storeu_si128(to + q, s[q]);
        }
    }
}

template <bool kFirst>
GLEAMO_AVX2_KERNEL inline void AddLinePairSteps256(const uint8_t* a, const uint8_t* b, __m256i weights, int32_t* sums,
                                                   size_t end) {
    for (size_t k = 0; k + 16 <= end; k += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k));
        // Interleaving before widening keeps the sums in their order across
        // the two 128-bit halves.
        __m256i s0 = _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpacklo_epi8(x, y)), weights);
        __m256i s1 = _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpackhi_epi8(x, y)), weights);
        __m256i* to = reinterpret_cast<__m256i*>(sums + k);
        if (!kFirst) {
            s0 = _mm256_add_epi32(s0, _mm256_loadu_si256(to));
            s1 = _mm256_add_epi32(s1, _mm256_loadu_si256(to + 1));
        }
        _mm256_storeu_si256(to, s0);
        _mm256_storeu_si256(to + 1, s1);
    }
}

// Byte by byte from `from`: the scalar kernel's whole line, the vector
// kernels' bytes after their last whole 16.
GLEAMO_SCALAR_KERNEL void AddLinePairTail(const uint8_t* a, int32_t weightA, const uint8_t* b, int32_t weightB,
                                          int32_t* sums, size_t from, size_t end, bool first) {
    GLEAMO_SCALAR_LOOP
    for (size_t k = from; k < end; ++k) {
        sums[k] = (first ? 0 : sums[k]) + weightA * a[k] + weightB * b[k];
    }
}

// The two weights as the signed 16-bit pair (weightA, weightB) of each 32-bit lane.
int32_t PairedWeights(int32_t weightA, int32_t weightB) {
    return static_cast<int32_t>(static_cast<uint32_t>(weightB) << 16 | static_cast<uint32_t>(weightA));
}

}  // namespace

void AddLinePairScalar(const uint8_t* a, int32_t weightA, const uint8_t* b, int32_t weightB, int32_t* sums,
                       size_t count, bool first) {
    AddLinePairTail(a, weightA, b, weightB, sums, 0, count, first);
}

GLEAMO_SSE2_KERNEL
void AddLinePairSse2(const uint8_t* a, int32_t weightA, const uint8_t* b, int32_t weightB, int32_t* sums,
                     size_t count, bool first) {
    const __m128i weights = _mm_set1_epi32(PairedWeights(weightA, weightB));
    if (first) {
        AddLinePairSteps128<true>(a, b, weights, sums, count);
    } else {
        AddLinePairSteps128<false>(a, b, weights, sums, count);
    }
    AddLinePairTail(a, weightA, b, weightB, sums, count & ~size_t{15}, count, first);
}

GLEAMO_AVX2_KERNEL
void AddLinePairAvx2(const uint8_t* a, int32_t weightA, const uint8_t* b, int32_t weightB, int32_t* sums,
                     size_t count, bool first) {
    const __m256i weights = _mm256_set1_epi32(PairedWeights(weightA, weightB));
    if (first) {
        AddLinePairSteps256<true>(a, b, weights, sums, count);
    } else {
        AddLinePairSteps256<false>(a, b, weights, sums, count);
    }
    _mm256_zeroupper();
    AddLinePairTail(a, weightA, b, weightB, sums, count & ~size_t{15}, count, first);
}

void ReduceLineScalar(const int32_t* sums, const ColumnReduction& columns, uint8_t* out) {
    if (columns.bytesPerPixel == 4) {
        ReduceLineScalarFor<4>(sums, columns, out);
    } else {
        ReduceLineScalarFor<3>(sums, columns, out);
    }
}

GLEAMO_SSE2_KERNEL
void ReduceLineSse2(const int32_t* sums, const ColumnReduction& columns, uint8_t* out) {
    if (columns.bytesPerPixel == 4) {
        ReduceLineSse2For<4>(sums, columns, out);
    } else {
        ReduceLineSse2For<3>(sums, columns, out);
    }
}

GLEAMO_AVX2_KERNEL
void ReduceLineAvx2(const int32_t* sums, const ColumnReduction& columns, uint8_t* out) {
    if (columns.bytesPerPixel == 4) {
        ReduceLineAvx2For<4>(sums, columns, out);
    } else {
        ReduceLineAvx2For<3>(sums, columns, out);
    }
}
