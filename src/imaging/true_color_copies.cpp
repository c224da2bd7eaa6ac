// Copies of an image made from its pixels directly rather than through GDI's
// stretching: shrunk by area averaging, and turned or mirrored upright.
#include "base/process_heap.h"
#include "imaging/area_shrink.h"
#include "imaging/bitmap_buffer.h"
#include "imaging/orientation_turn.h"

namespace {

constexpr int BYTES_PER_PIXEL = 3;
constexpr WORD TRUE_COLOR_DEPTH = 24;

// The source's pixels at 24 bits: the source itself when it has them, else a
// copy made in temporary. Null when the copy cannot be made.
const BitmapBuffer* TrueColorPixels(const BitmapBuffer& source, BitmapBuffer& temporary) {
    const BitmapBuffer* pixels = &source;
    if (source.BitCount() != TRUE_COLOR_DEPTH) {
        if (!temporary.Create(source.Width(), source.Height(), TRUE_COLOR_DEPTH, RGB(0, 0, 0)) ||
            !source.DrawScaled(temporary.Dc(), 1.0, SRCCOPY)) {
            return nullptr;
        }
        pixels = &temporary;
    }
    // GDI may still be drawing into the section.
    GdiFlush();
    return pixels;
}

PixelRows RowsOf(const BitmapBuffer& image) {
    return BottomUpDibRows(image.Bits(), image.Width(), image.Height(), image.Stride());
}

}  // namespace

BOOL BitmapBuffer::AssignShrunk(const BitmapBuffer& source, int width, int height) {
    if (source.dc == nullptr || width < 1 || height < 1 || width > source.Width() || height > source.Height() ||
        source.Width() > MAX_SHRINK_SIDE || source.Height() > MAX_SHRINK_SIDE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BitmapBuffer temporary;
    const BitmapBuffer* pixels = TrueColorPixels(source, temporary);
    const size_t scratchBytes = AreaShrinkScratchBytes(source.Width(), width, BYTES_PER_PIXEL);
    ScopedHeapBlock scratch(scratchBytes != 0 ? HeapBlockAlloc(scratchBytes) : nullptr);
    BitmapBuffer shrunk;
    if (pixels == nullptr || scratch.Get() == nullptr ||
        !shrunk.Create(width, height, TRUE_COLOR_DEPTH, RGB(0, 0, 0))) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    GdiFlush();
    const PixelRows from = RowsOf(*pixels);
    const PixelRows to = RowsOf(shrunk);
    const SourceLines sourceLines = {from.top, from.width, from.height, from.stride};
    const TargetLines targetLines = {to.top, to.width, to.height, to.stride};
    if (!ShrinkArea(sourceLines, targetLines, BYTES_PER_PIXEL, WidestAreaShrinkKernelSet(), scratch.Get(),
                    scratchBytes)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TakeFrom(shrunk);
    return TRUE;
}

BOOL BitmapBuffer::Turn(ExifOrientation orientation) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    if (orientation == ExifOrientation::kAsStored) {
        return TRUE;
    }
    BitmapBuffer temporary;
    const BitmapBuffer* pixels = TrueColorPixels(*this, temporary);
    const PixelSize size = TurnedSize(orientation, Width(), Height());
    BitmapBuffer turned;
    if (pixels == nullptr || !turned.Create(size.width, size.height, TRUE_COLOR_DEPTH, RGB(0, 0, 0))) {
        return FALSE;
    }
    GdiFlush();
    if (!TurnPixelRows(orientation, BYTES_PER_PIXEL, RowsOf(*pixels), RowsOf(turned))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    TakeFrom(turned);
    return TRUE;
}
