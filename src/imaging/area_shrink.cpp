#include "imaging/area_shrink.h"

#include <algorithm>
#include <cstring>

#include "imaging/cpu_features.h"

namespace {

// The sums start on a 32-byte boundary inside the caller's scratch, so that
// the 256-bit kernels never split a cache line more than they must.
constexpr size_t SUMS_ALIGNMENT = 32;

size_t RowBytes(int32_t width, int bytesPerPixel) { return static_cast<size_t>(width) * bytesPerPixel; }

bool SideAccepted(int32_t sourceSide, int32_t targetSide) {
    return targetSide >= 1 && targetSide <= sourceSide && sourceSide <= MAX_SHRINK_SIDE;
}

size_t Magnitude(ptrdiff_t stride) {
    return stride < 0 ? 0 - static_cast<size_t>(stride) : static_cast<size_t>(stride);
}

// The number of units (1/targetSide of a source line) that source line j
// shares with the target line covering units [top, top + sourceSide).
int32_t LineWeight(int64_t j, int64_t top, int32_t sourceSide, int32_t targetSide) {
    const int64_t lineTop = j * targetSide;
    const int64_t lineBottom = lineTop + targetSide;
    const int64_t bottom = top + sourceSide;
    return static_cast<int32_t>((lineBottom < bottom ? lineBottom : bottom) - (lineTop > top ? lineTop : top));
}

}  // namespace

AreaShrinkKernelSet WidestAreaShrinkKernelSet() {
    static const AreaShrinkKernelSet widest = CpuHasAvx2()   ? AreaShrinkKernelSet::kAvx2
                                              : CpuHasSse2() ? AreaShrinkKernelSet::kSse2
                                                             : AreaShrinkKernelSet::kScalar;
    return widest;
}

AreaShrinkKernels AreaShrinkKernelsFor(AreaShrinkKernelSet set) {
    switch (set) {
    case AreaShrinkKernelSet::kAvx2:
        return {AddLinePairAvx2, ReduceLineAvx2};
    case AreaShrinkKernelSet::kSse2:
        return {AddLinePairSse2, ReduceLineSse2};
    case AreaShrinkKernelSet::kScalar:
    default:
        return {AddLinePairScalar, ReduceLineScalar};
    }
}

size_t AreaShrinkScratchBytes(int32_t sourceWidth, int32_t targetWidth, int bytesPerPixel) {
    if ((bytesPerPixel != 3 && bytesPerPixel != 4) || !SideAccepted(sourceWidth, targetWidth)) {
        return 0;
    }
    return SUMS_ALIGNMENT - 1 + (RowBytes(sourceWidth, bytesPerPixel) + SHRINK_SUMS_PADDING) * sizeof(int32_t) +
           (static_cast<size_t>(targetWidth) + 1) * sizeof(ColumnStart);
}

namespace {

// The band of source lines a feed fills at a time: fewer, larger reads cost
// a decoder less than one call per line. Two lines are the least a pair of
// them needs.
constexpr int32_t BAND_LINES = 32;

int32_t BandLines(int32_t sourceHeight) { return sourceHeight < BAND_LINES ? sourceHeight : BAND_LINES; }

// The sums and column starts ShrinkArea keeps in the caller's scratch.
struct ShrinkWork {
    AreaShrinkKernels kernels;
    int32_t* sums;
    ColumnReduction columns;
    size_t sourceRowBytes;
    int32_t sourceHeight;
    int32_t targetHeight;
};

ShrinkWork PrepareWork(int32_t sw, int32_t sh, int32_t dw, int32_t dh, int bytesPerPixel,
                       AreaShrinkKernelSet kernelSet, void* scratch) {
    ShrinkWork work;
    work.kernels = AreaShrinkKernelsFor(kernelSet);
    work.sourceRowBytes = RowBytes(sw, bytesPerPixel);
    work.sourceHeight = sh;
    work.targetHeight = dh;
    const uintptr_t base = reinterpret_cast<uintptr_t>(scratch);
    work.sums = reinterpret_cast<int32_t*>((base + SUMS_ALIGNMENT - 1) & ~(uintptr_t{SUMS_ALIGNMENT} - 1));
    memset(work.sums + work.sourceRowBytes, 0, SHRINK_SUMS_PADDING * sizeof(int32_t));
    ColumnStart* starts = reinterpret_cast<ColumnStart*>(work.sums + work.sourceRowBytes + SHRINK_SUMS_PADDING);
    for (int32_t x = 0; x <= dw; ++x) {
        const int64_t unit = static_cast<int64_t>(x) * sw;
        starts[x].first = static_cast<int32_t>(unit / dw);
        starts[x].cut = static_cast<int32_t>(unit % dw);
    }
    work.columns = {starts, dw, sw, sh, bytesPerPixel};
    return work;
}

// Target line y spans the units [y * sh, (y + 1) * sh) of 1/dh source line:
// source lines first up to, not including, end.
struct CoveredRange {
    int64_t first;
    int64_t end;
};

CoveredRange CoveredBy(int32_t y, int32_t sh, int32_t dh) {
    const int64_t top = static_cast<int64_t>(y) * sh;
    return {top / dh, (top + sh + dh - 1) / dh};
}

// Writes target line y to out from the source lines it covers, which
// lineAt(j) finds once holdPair(ja, jb) has made lines ja..jb available;
// upward walks them bottom line first. False when holdPair fails.
template <typename HoldPair, typename LineAt>
bool ShrinkTargetLine(const ShrinkWork& work, int32_t y, bool upward, HoldPair holdPair, LineAt lineAt,
                      uint8_t* out) {
    const int32_t sh = work.sourceHeight, dh = work.targetHeight;
    const int64_t top = static_cast<int64_t>(y) * sh;
    const CoveredRange range = CoveredBy(y, sh, dh);
    const int64_t lineCount = range.end - range.first;
    for (int64_t pair = 0; pair < lineCount; pair += 2) {
        // The lines in walking order; a lone last line is paired with itself
        // at weight 0.
        const int64_t ja = upward ? range.end - 1 - pair : range.first + pair;
        const int64_t jb = pair + 1 < lineCount ? (upward ? ja - 1 : ja + 1) : ja;
        const int32_t wa = LineWeight(ja, top, sh, dh);
        const int32_t wb = jb != ja ? LineWeight(jb, top, sh, dh) : 0;
        if (!holdPair(ja, jb)) {
            return false;
        }
        work.kernels.addLinePair(lineAt(ja), wa, lineAt(jb), wb, work.sums, work.sourceRowBytes, pair == 0);
    }
    work.kernels.reduceLine(work.sums, work.columns, out);
    return true;
}

bool TargetAccepted(const TargetLines& target, int bytesPerPixel) {
    return target.line0 != nullptr && Magnitude(target.stride) >= RowBytes(target.width, bytesPerPixel);
}

}  // namespace

bool ShrinkArea(const SourceLines& source, const TargetLines& target, int bytesPerPixel,
                AreaShrinkKernelSet kernelSet, void* scratch, size_t scratchBytes) {
    const size_t needed = AreaShrinkScratchBytes(source.width, target.width, bytesPerPixel);
    if (needed == 0 || scratchBytes < needed || !SideAccepted(source.height, target.height) ||
        source.line0 == nullptr || scratch == nullptr ||
        Magnitude(source.stride) < RowBytes(source.width, bytesPerPixel) || !TargetAccepted(target, bytesPerPixel)) {
        return false;
    }
    const ShrinkWork work =
        PrepareWork(source.width, source.height, target.width, target.height, bytesPerPixel, kernelSet, scratch);
    // Walk the source forward in memory: top line first for a top-down
    // image, bottom line first for a bottom-up one (a negative stride). The
    // prefetchers follow a forward walk; the sums do not depend on the order.
    const bool upward = source.stride < 0;
    auto whole = [](int64_t, int64_t) { return true; };
    auto lineAt = [&](int64_t j) { return source.line0 + static_cast<ptrdiff_t>(j) * source.stride; };
    for (int32_t step = 0; step < target.height; ++step) {
        const int32_t y = upward ? target.height - 1 - step : step;
        ShrinkTargetLine(work, y, upward, whole, lineAt, target.line0 + static_cast<ptrdiff_t>(y) * target.stride);
    }
    return true;
}

size_t AreaShrinkFeedScratchBytes(int32_t sourceWidth, int32_t sourceHeight, int32_t targetWidth,
                                  int32_t targetHeight, int bytesPerPixel) {
    const size_t shrink = AreaShrinkScratchBytes(sourceWidth, targetWidth, bytesPerPixel);
    if (shrink == 0 || !SideAccepted(sourceHeight, targetHeight)) {
        return 0;
    }
    return shrink + RowBytes(sourceWidth, bytesPerPixel) * static_cast<size_t>(BandLines(sourceHeight));
}

bool ShrinkAreaFromFeed(int32_t sourceWidth, int32_t sourceHeight, SourceLineFeed& feed, const TargetLines& target,
                        int bytesPerPixel, AreaShrinkKernelSet kernelSet, void* scratch, size_t scratchBytes) {
    const size_t needed =
        AreaShrinkFeedScratchBytes(sourceWidth, sourceHeight, target.width, target.height, bytesPerPixel);
    if (needed == 0 || scratchBytes < needed || scratch == nullptr || !TargetAccepted(target, bytesPerPixel)) {
        return false;
    }
    const ShrinkWork work =
        PrepareWork(sourceWidth, sourceHeight, target.width, target.height, bytesPerPixel, kernelSet, scratch);
    // The band holds source lines [bandFirst, bandEnd), at the end of scratch.
    const size_t rowBytes = work.sourceRowBytes;
    const ptrdiff_t bandStride = static_cast<ptrdiff_t>(rowBytes);
    const int32_t bandLines = BandLines(sourceHeight);
    uint8_t* band = static_cast<uint8_t*>(scratch) + (needed - rowBytes * static_cast<size_t>(bandLines));
    int64_t bandFirst = 0;
    int64_t bandEnd = 0;
    auto lineAt = [&](int64_t j) { return band + static_cast<ptrdiff_t>(j - bandFirst) * bandStride; };
    // The lines asked for only move down the picture: when a pair reaches
    // past the band, the lines from its first on move to the band's top and
    // the feed fills the rest.
    auto holdPair = [&](int64_t ja, int64_t jb) {
        if (jb < bandEnd) {
            return true;
        }
        const int64_t kept = bandEnd - ja;
        memmove(band, lineAt(ja), static_cast<size_t>(kept) * rowBytes);
        bandFirst = ja;
        const int64_t fillEnd = std::min<int64_t>(sourceHeight, bandFirst + bandLines);
        if (!feed.Read(static_cast<int32_t>(bandEnd), static_cast<int32_t>(fillEnd - bandEnd),
                       band + static_cast<ptrdiff_t>(kept) * bandStride, bandStride)) {
            return false;
        }
        bandEnd = fillEnd;
        return true;
    };
    for (int32_t y = 0; y < target.height; ++y) {
        if (!ShrinkTargetLine(work, y, false, holdPair, lineAt,
                              target.line0 + static_cast<ptrdiff_t>(y) * target.stride)) {
            return false;
        }
    }
    return true;
}
