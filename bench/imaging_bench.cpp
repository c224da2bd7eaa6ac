// Throughput of the fade blend, of the opaque-run scan and of the area
// shrink, next to the memory bound (read two buffers, write one).
#include <benchmark/benchmark.h>

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "imaging/area_shrink.h"
#include "imaging/blend_area.h"
#include "imaging/blend_kernels.h"
#include "imaging/cpu_features.h"
#include "imaging/opaque_runs.h"

namespace {

constexpr int kSpare = 3;
constexpr unsigned kLevel = 100;

// A 24-bit bottom-up image of width (+ spare columns) x height.
struct Image {
    std::vector<uint8_t> bytes;
    PixelRows rows;
    Image(int width, int height, uint32_t seed) {
        rows.width = width;
        rows.height = height;
        rows.stride = (static_cast<size_t>(width) * 24 + 31) / 32 * 4;
        bytes.resize(rows.stride * height);
        std::mt19937 random(seed);
        for (auto& b : bytes) {
            b = static_cast<uint8_t>(random());
        }
        rows.bits = bytes.data();
    }
};

int64_t PixelBytes(const benchmark::State& state) { return state.range(0) * state.range(1) * 3; }

// The traffic of one blend: two buffers read, one written.
void SetTraffic(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 3 * PixelBytes(state));
}

__attribute__((target("avx2"))) void StreamAvx2(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t n) {
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_avg_epu8(x, y));
    }
    for (; i < n; ++i) {
        out[i] = static_cast<uint8_t>((a[i] + b[i] + 1) / 2);
    }
    _mm256_zeroupper();
}

void BM_StreamBound(benchmark::State& state) {
    const size_t n = static_cast<size_t>(PixelBytes(state));
    std::vector<uint8_t> a(n, 1), b(n, 2), out(n);
    for (auto _ : state) {
        StreamAvx2(a.data(), b.data(), out.data(), n);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    SetTraffic(state);
}

// The layer's own row loop over a picture on a background of the same size.
void BlendWith(benchmark::State& state, BlendKernelSet set) {
    const int w = static_cast<int>(state.range(0)) + kSpare;
    const int h = static_cast<int>(state.range(1));
    Image picture(w, h, 1), background(w, h, 2), work(w, h, 3);
    const BlendKernels kernels = BlendKernelsFor(set);
    for (auto _ : state) {
        BlendOverBackground(picture.rows, background.rows, work.rows, w, h, 0, 0, kLevel, kernels);
        benchmark::DoNotOptimize(work.bytes.data());
        benchmark::ClobberMemory();
    }
    SetTraffic(state);
}

void BM_BlendPacked(benchmark::State& state) { BlendWith(state, WidestPackedKernelSet()); }
void BM_BlendPackedSse2(benchmark::State& state) { BlendWith(state, BlendKernelSet::kPackedSse2); }
void BM_BlendPackedScalar(benchmark::State& state) { BlendWith(state, BlendKernelSet::kPackedScalar); }
void BM_BlendBytewise(benchmark::State& state) { BlendWith(state, BlendKernelSet::kBytewise); }

// A photograph on a key-coloured backdrop: a key border around the subject
// (about a fifth of the pixels) and a scattering of key-coloured specks.
constexpr uint32_t kKey = 0x00FF00FF;

Image KeyedPicture(int w, int h) {
    Image image(w, h, 4);
    std::mt19937 random(5);
    for (int y = 0; y < h; ++y) {
        uint8_t* line = image.rows.Line(y);
        for (int x = 0; x < w; ++x) {
            const bool border = x < w / 10 || x >= w - w / 10 || y < h / 20 || y >= h - h / 20;
            if (border || random() % 500 == 0) {
                line[3 * x] = 0xFF;
                line[3 * x + 1] = 0x00;
                line[3 * x + 2] = 0xFF;
            } else if (line[3 * x] == 0xFF && line[3 * x + 1] == 0 && line[3 * x + 2] == 0xFF) {
                line[3 * x + 1] = 1;
            }
        }
    }
    return image;
}

// The description buffer grown as the region code grows it: a line's worth
// of room before each line, doubling when short. Returns its final bytes.
size_t ScanPicture(const Image& image, std::vector<RunRect>* runs) {
    const int w = image.rows.width;
    size_t count = 0;
    for (int y = 0; y < image.rows.height; ++y) {
        if (runs->size() - count < MostRunsInLine(w)) {
            runs->resize(std::max(2 * runs->size(), count + MostRunsInLine(w)));
        }
        count += ScanOpaqueRunsInLine(image.rows.Line(y), w, kKey, y, runs->data() + count);
    }
    return count;
}

void BM_OpaqueRuns(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    const Image picture = KeyedPicture(w, h);
    std::vector<RunRect> runs(h + MostRunsInLine(w));
    size_t count = 0;
    for (auto _ : state) {
        count = ScanPicture(picture, &runs);
        benchmark::DoNotOptimize(runs.data());
    }
    state.counters["runs"] = static_cast<double>(count);
    state.counters["descriptionBytes"] = static_cast<double>(32 + runs.size() * sizeof(RunRect));
    state.counters["worstCaseBytes"] = static_cast<double>((static_cast<uint64_t>(w) * h + 2) * 16);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * PixelBytes(state));
}

// A bottom-up 24-bit picture shrunk as the program hands it over: read from
// its top line, through a negative stride. Counted in megapixels of source
// per second ("MP/s") and source bytes read.
void ShrinkWith(benchmark::State& state, AreaShrinkKernelSet set) {
    const int sw = static_cast<int>(state.range(0)), sh = static_cast<int>(state.range(1));
    const int dw = static_cast<int>(state.range(2)), dh = static_cast<int>(state.range(3));
    Image source(sw, sh, 6), target(dw, dh, 7);
    const SourceLines from = {source.rows.Line(0), sw, sh, -static_cast<ptrdiff_t>(source.rows.stride)};
    const TargetLines to = {target.rows.Line(0), dw, dh, -static_cast<ptrdiff_t>(target.rows.stride)};
    std::vector<uint8_t> scratch(AreaShrinkScratchBytes(sw, dw, BYTES_PER_PIXEL));
    for (auto _ : state) {
        ShrinkArea(from, to, BYTES_PER_PIXEL, set, scratch.data(), scratch.size());
        benchmark::DoNotOptimize(target.bytes.data());
        benchmark::ClobberMemory();
    }
    const double sourcePixels = static_cast<double>(sw) * sh;
    state.counters["MP/s"] = benchmark::Counter(sourcePixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(sourcePixels) *
                            BYTES_PER_PIXEL);
}

void BM_AreaShrink(benchmark::State& state) { ShrinkWith(state, WidestAreaShrinkKernelSet()); }
void BM_AreaShrinkSse2(benchmark::State& state) { ShrinkWith(state, AreaShrinkKernelSet::kSse2); }
void BM_AreaShrinkScalar(benchmark::State& state) { ShrinkWith(state, AreaShrinkKernelSet::kScalar); }

// Hands the lines of an image over a band at a time, as a decoder does.
class ImageFeed : public SourceLineFeed {
public:
    explicit ImageFeed(const Image& image) : image_(image) {}
    bool Read(int32_t first, int32_t count, uint8_t* lines, ptrdiff_t stride) override {
        for (int32_t k = 0; k < count; ++k) {
            std::memcpy(lines + k * stride, image_.rows.Line(first + k), image_.rows.width * BYTES_PER_PIXEL);
        }
        return true;
    }

private:
    const Image& image_;
};

// The same shrink fed through a band of lines, as a decoded picture that is
// never held whole: the band's copying is the price against BM_AreaShrink.
void BM_AreaShrinkFed(benchmark::State& state) {
    const int sw = static_cast<int>(state.range(0)), sh = static_cast<int>(state.range(1));
    const int dw = static_cast<int>(state.range(2)), dh = static_cast<int>(state.range(3));
    Image source(sw, sh, 6), target(dw, dh, 7);
    const TargetLines to = {target.rows.Line(0), dw, dh, -static_cast<ptrdiff_t>(target.rows.stride)};
    std::vector<uint8_t> scratch(AreaShrinkFeedScratchBytes(sw, sh, dw, dh, BYTES_PER_PIXEL));
    for (auto _ : state) {
        ImageFeed feed(source);
        ShrinkAreaFromFeed(sw, sh, feed, to, BYTES_PER_PIXEL, WidestAreaShrinkKernelSet(), scratch.data(),
                           scratch.size());
        benchmark::DoNotOptimize(target.bytes.data());
        benchmark::ClobberMemory();
    }
    const double sourcePixels = static_cast<double>(sw) * sh;
    state.counters["MP/s"] = benchmark::Counter(sourcePixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// A 24-megapixel camera picture and a full-HD frame, each to 640 columns.
void ShrinkSizes(benchmark::internal::Benchmark* b) {
    b->Args({6000, 4000, 640, 427})->Args({1920, 1080, 640, 360})->Unit(benchmark::kMillisecond)->UseRealTime();
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({640, 640})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->UseRealTime();
}

// 2048 x 4: the three buffers (74 KB) stay in the second-level cache, so the
// packed kernels show what their arithmetic alone allows. A kernel slower
// here than the bound at a larger size cannot reach that bound there.
void SizesWithInCache(benchmark::internal::Benchmark* b) {
    Sizes(b);
    b->Args({2048, 4});
}

BENCHMARK(BM_StreamBound)->Apply(SizesWithInCache);
BENCHMARK(BM_BlendPacked)->Apply(SizesWithInCache);
BENCHMARK(BM_BlendPackedSse2)->Apply(SizesWithInCache);
BENCHMARK(BM_BlendPackedScalar)->Apply(Sizes);
BENCHMARK(BM_BlendBytewise)->Apply(Sizes);
BENCHMARK(BM_OpaqueRuns)->Apply(Sizes)->Args({6000, 4000});
BENCHMARK(BM_AreaShrink)->Apply(ShrinkSizes);
BENCHMARK(BM_AreaShrinkFed)->Apply(ShrinkSizes);
BENCHMARK(BM_AreaShrinkSse2)->Apply(ShrinkSizes);
BENCHMARK(BM_AreaShrinkScalar)->Apply(ShrinkSizes);

}  // namespace
