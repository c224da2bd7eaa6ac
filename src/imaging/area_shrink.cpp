#include "imaging/area_shrink.h"

#include <cstring>

#include "imaging/cpu_features.h"

namespace {

// The sums start on a 32-byte boundary inside the caller's scratch, so that
// the 256-bit kernels never split a cache line more than they must.
constexpr size_t kSumsAlignment = 32;

size_t RowBytes(int32_t width, int bytesPerPixel) { return static_cast<size_t>(width) * bytesPerPixel; }

bool SideAccepted(int32_t sourceSide, int32_t targetSide) {
    return targetSide >= 1 && targetSide <= sourceSide && sourceSide <= kMaxShrinkSide;
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
    if (CpuHasAvx2()) {
        return AreaShrinkKernelSet::kAvx2;
    }
    if (CpuHasSse2()) {
        return AreaShrinkKernelSet::kSse2;
    }
    return AreaShrinkKernelSet::kScalar;
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
    return kSumsAlignment - 1 + (RowBytes(sourceWidth, bytesPerPixel) + kShrinkSumsPadding) * sizeof(int32_t) +
           (static_cast<size_t>(targetWidth) + 1) * sizeof(ColumnStart);
}

bool ShrinkArea(const SourceLines& source, const TargetLines& target, int bytesPerPixel,
                AreaShrinkKernelSet kernelSet, void* scratch, size_t scratchBytes) {
    const size_t needed = AreaShrinkScratchBytes(source.width, target.width, bytesPerPixel);
    if (needed == 0 || scratchBytes < needed || !SideAccepted(source.height, target.height) ||
        source.line0 == nullptr || target.line0 == nullptr || scratch == nullptr ||
        Magnitude(source.stride) < RowBytes(source.width, bytesPerPixel) ||
        Magnitude(target.stride) < RowBytes(target.width, bytesPerPixel)) {
        return false;
    }
    const AreaShrinkKernels kernels = AreaShrinkKernelsFor(kernelSet);
    const int32_t sw = source.width, sh = source.height, dw = target.width, dh = target.height;
    const size_t sourceRowBytes = RowBytes(sw, bytesPerPixel);

    const uintptr_t base = reinterpret_cast<uintptr_t>(scratch);
    int32_t* sums = reinterpret_cast<int32_t*>((base + kSumsAlignment - 1) & ~(uintptr_t{kSumsAlignment} - 1));
    memset(sums + sourceRowBytes, 0, kShrinkSumsPadding * sizeof(int32_t));
    ColumnStart* starts = reinterpret_cast<ColumnStart*>(sums + sourceRowBytes + kShrinkSumsPadding);
    for (int32_t x = 0; x <= dw; ++x) {
        const int64_t unit = static_cast<int64_t>(x) * sw;
        starts[x].first = static_cast<int32_t>(unit / dw);
        starts[x].cut = static_cast<int32_t>(unit % dw);
    }
    const ColumnReduction columns = {starts, dw, sw, sh, bytesPerPixel};

    // Walk the source forward in memory: top line first for a top-down
    // image, bottom line first for a bottom-up one (a negative stride). The
    // prefetchers follow a forward walk; the sums do not depend on the order.
    const bool upward = source.stride < 0;
    for (int32_t step = 0; step < dh; ++step) {
        const int32_t y = upward ? dh - 1 - step : step;
        // Target line y spans the units [top, top + sh) of 1/dh source line:
        // source lines firstLine up to, not including, endLine.
        const int64_t top = static_cast<int64_t>(y) * sh;
        const int64_t firstLine = top / dh;
        const int64_t endLine = (top + sh + dh - 1) / dh;
        const int64_t lineCount = endLine - firstLine;
        for (int64_t pair = 0; pair < lineCount; pair += 2) {
            // The lines in walking order; a lone last line is paired with
            // itself at weight 0.
            const int64_t ja = upward ? endLine - 1 - pair : firstLine + pair;
            const int64_t jb = pair + 1 < lineCount ? (upward ? ja - 1 : ja + 1) : ja;
            const int32_t wa = LineWeight(ja, top, sh, dh);
            const int32_t wb = jb != ja ? LineWeight(jb, top, sh, dh) : 0;
            kernels.addLinePair(source.line0 + static_cast<ptrdiff_t>(ja) * source.stride, wa,
                                source.line0 + static_cast<ptrdiff_t>(jb) * source.stride, wb, sums, sourceRowBytes,
                                pair == 0);
        }
        kernels.reduceLine(sums, columns, target.line0 + static_cast<ptrdiff_t>(y) * target.stride);
    }
    return true;
}
