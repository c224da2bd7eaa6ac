#include "imaging/wic_picture.h"

#include <initguid.h>
#include <wincodec.h>

#include "base/process_heap.h"
#include "base/test_hooks.h"
#include "imaging/area_shrink.h"
#include "imaging/backdrop_compose.h"
#include "imaging/bitmap_buffer.h"
#include "imaging/decode_size.h"
#include "imaging/orientation_turn.h"
#include "imaging/wic_date.h"
#include "imaging/wic_orientation.h"
#include "imaging/wic_source_transform.h"

namespace {

constexpr int BYTES_PER_PIXEL = 3;
constexpr int PREMULTIPLIED_BYTES_PER_PIXEL = 4;
constexpr WORD TRUE_COLOR_DEPTH = 24;
// Reductions a decoder may offer while decoding, the largest first.
constexpr UINT REDUCTIONS[] = {8, 4, 2};

// Releases a COM interface at the end of the scope.
template <typename T>
class ScopedInterface {
public:
    ScopedInterface() = default;
    ~ScopedInterface() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }
    ScopedInterface(const ScopedInterface&) = delete;
    ScopedInterface& operator=(const ScopedInterface&) = delete;

    T* Get() const { return object_; }
    T** Receive() { return &object_; }
    void** ReceiveVoid() { return reinterpret_cast<void**>(&object_); }

private:
    T* object_ = nullptr;
};

BackdropColor BackdropOf(COLORREF color) {
    return BackdropColor{GetBValue(color), GetGValue(color), GetRValue(color)};
}

// Source lines read from a picture source one line at a time as
// premultiplied 32-bit pixels, and laid over the backdrop.
class ConvertedLineFeed : public SourceLineFeed {
public:
    ConvertedLineFeed(IWICBitmapSource* source, UINT width, BYTE* line, UINT lineBytes, BackdropColor backdrop)
        : source_(source), width_(width), line_(line), lineBytes_(lineBytes), backdrop_(backdrop) {}

    bool Read(int32_t first, int32_t count, uint8_t* lines, ptrdiff_t stride) override {
        for (int32_t k = 0; k < count; ++k) {
            const WICRect rect = {0, first + k, static_cast<INT>(width_), 1};
            if (FAILED(source_->CopyPixels(&rect, lineBytes_, lineBytes_, line_))) {
                return false;
            }
            ComposeOverBackdrop(line_, static_cast<int>(width_), backdrop_, lines + k * stride);
        }
        return true;
    }

private:
    IWICBitmapSource* source_;
    UINT width_;
    BYTE* line_;
    UINT lineBytes_;
    BackdropColor backdrop_;
};

// Source lines of 24-bit pixels already in memory, top line first.
class MemoryLineFeed : public SourceLineFeed {
public:
    MemoryLineFeed(const BYTE* top, size_t stride, UINT width) : top_(top), stride_(stride), width_(width) {}

    bool Read(int32_t first, int32_t count, uint8_t* lines, ptrdiff_t stride) override {
        for (int32_t k = 0; k < count; ++k) {
            CopyMemory(lines + k * stride, top_ + static_cast<size_t>(first + k) * stride_,
                       static_cast<size_t>(width_) * BYTES_PER_PIXEL);
        }
        return true;
    }

private:
    const BYTE* top_;
    size_t stride_;
    UINT width_;
};

// Where the decoder reduces the frame itself while decoding.
struct ReducedFrame {
    void* pixels;  // 24-bit lines, top line first; the caller frees the block
    DecodeSize size;
    size_t stride;
};

// The frame reduced by the decoder by the largest of its reductions that
// keeps at least the target size; pixels null when it offers none.
ReducedFrame DecodeReduced(IWICBitmapFrameDecode* frame, DecodeSize stored, DecodeSize target) {
    ReducedFrame reduced = {};
    ScopedInterface<SourceTransform> transform;
    if (FAILED(frame->QueryInterface(SOURCE_TRANSFORM_IID, transform.ReceiveVoid()))) {
        return reduced;
    }
    for (UINT divisor : REDUCTIONS) {
        DecodeSize size = ReducedSize(stored, divisor);
        if (!ReductionServes(stored, size, target) ||
            FAILED(transform.Get()->GetClosestSize(&size.width, &size.height)) ||
            !ReductionServes(stored, size, target)) {
            continue;
        }
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        if (FAILED(transform.Get()->GetClosestPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) {
            return reduced;
        }
        LineBlock block = {};
        if (!LineBlockOf(size.width, size.height, BYTES_PER_PIXEL, &block)) {
            return reduced;
        }
        ScopedHeapBlock pixels(HeapBlockAlloc(block.bytes));
        if (pixels.Get() == nullptr ||
            FAILED(transform.Get()->CopyPixels(nullptr, size.width, size.height, &format, WICBitmapTransformRotate0,
                                               block.stride, block.bytes, pixels.Bytes())) ||
            format != GUID_WICPixelFormat24bppBGR) {
            return reduced;
        }
        reduced = {pixels.Detach(), size, block.stride};
        return reduced;
    }
    return reduced;
}

// Fills target, made anew as a 24-bit picture of width x height, from what
// feed hands over (source.width x source.height): shrunk by area, or copied
// line for line where the sizes are equal.
bool ShrinkInto(BitmapBuffer& target, SourceLineFeed& feed, DecodeSize source, int width, int height) {
    const bool copy = source == DecodeSize{static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
    const size_t scratchBytes =
        copy ? 0
             : AreaShrinkFeedScratchBytes(static_cast<int32_t>(source.width), static_cast<int32_t>(source.height),
                                          width, height, BYTES_PER_PIXEL);
    ScopedHeapBlock scratch(scratchBytes != 0 ? HeapBlockAlloc(scratchBytes) : nullptr);
    if ((!copy && scratch.Get() == nullptr) || !target.Create(width, height, TRUE_COLOR_DEPTH, RGB(0, 0, 0))) {
        target.Release();
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    // Create filled the section through GDI, which batches calls per thread:
    // a fill still queued would land on the pixels written below at the next
    // flush.
    GdiFlush();
    const PixelRows rows = BottomUpDibRows(target.Bits(), width, height, target.Stride());
    const TargetLines lines = {rows.top, rows.width, rows.height, rows.stride};
    const bool filled = copy ? feed.Read(0, height, rows.top, rows.stride)
                             : ShrinkAreaFromFeed(static_cast<int32_t>(source.width),
                                                  static_cast<int32_t>(source.height), feed, lines, BYTES_PER_PIXEL,
                                                  WidestAreaShrinkKernelSet(), scratch.Get(), scratchBytes);
    if (!filled) {
        target.Release();
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return true;
}

}  // namespace

WicPicture::WicPicture() {
    // Balanced in the destructor whether COM was off (S_OK) or already on
    // (S_FALSE); a thread in the other apartment model keeps its own.
    initialized_ = SUCCEEDED(CoInitialize(nullptr));
}

WicPicture::~WicPicture() {
    if (frame_ != nullptr) {
        frame_->Release();
    }
    if (factory_ != nullptr) {
        factory_->Release();
    }
    if (initialized_) {
        CoUninitialize();
    }
}

bool WicPicture::DateTaken(CalendarDate* date) const { return FrameDateTaken(frame_, date); }

bool WicPicture::Open(const wchar_t* path) {
    if (Hooks().imagingComponentMissing || factory_ != nullptr) {
        return false;
    }
    if (path == nullptr ||
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory_)))) {
        return false;
    }
    ScopedInterface<IWICBitmapDecoder> decoder;
    UINT width = 0;
    UINT height = 0;
    if (Hooks().decoderFrame != nullptr) {
        Hooks().decoderFrame->AddRef();
        frame_ = Hooks().decoderFrame;
    } else if (FAILED(factory_->CreateDecoderFromFilename(path, nullptr, GENERIC_READ,
                                                          WICDecodeMetadataCacheOnDemand, decoder.Receive())) ||
               FAILED(decoder.Get()->GetFrame(0, &frame_))) {
        return false;
    }
    if (FAILED(frame_->GetSize(&width, &height)) || width == 0 || height == 0 || width > MAXLONG ||
        height > MAXLONG) {
        return false;
    }
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    orientation_ = FrameOrientation(frame_, path);
    return true;
}

bool WicPicture::Decode(BitmapBuffer& target, int width, int height, COLORREF backdrop) {
    target.Release();
    if (frame_ == nullptr || width < 1 || height < 1 || width > width_ || height > height_) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const DecodeSize stored = {static_cast<uint32_t>(width_), static_cast<uint32_t>(height_)};
    const DecodeSize shown = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
    const ReducedFrame reduced = DecodeReduced(frame_, stored, shown);
    ScopedHeapBlock reducedPixels(reduced.pixels);
    if (reducedPixels.Get() != nullptr) {
        MemoryLineFeed feed(reducedPixels.Bytes(), reduced.stride, reduced.size.width);
        return ShrinkInto(target, feed, reduced.size, width, height);
    }
    // Every source the decoders give converts to premultiplied 32 bits, so
    // one way of laying their alpha over the backdrop serves them all.
    ScopedInterface<IWICFormatConverter> converter;
    if (FAILED(factory_->CreateFormatConverter(converter.Receive())) ||
        FAILED(converter.Get()->Initialize(frame_, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                           0.0, WICBitmapPaletteTypeCustom))) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    // A side beyond what the area shrink takes (a panorama) is first brought
    // within it by the component's scaler, which reads the frame a few lines
    // at a time, so the full size is still never held.
    const DecodeSize source = ScaledSourceSize(stored, shown);
    IWICBitmapSource* lines = converter.Get();
    ScopedInterface<IWICBitmapScaler> scaler;
    if (source != stored) {
        if (FAILED(factory_->CreateBitmapScaler(scaler.Receive())) ||
            FAILED(scaler.Get()->Initialize(converter.Get(), source.width, source.height,
                                            WICBitmapInterpolationModeFant))) {
            SetLastError(ERROR_INVALID_DATA);
            return false;
        }
        lines = scaler.Get();
    }
    LineBlock line = {};
    ScopedHeapBlock lineBytes(LineBlockOf(source.width, 1, PREMULTIPLIED_BYTES_PER_PIXEL, &line)
                                  ? HeapBlockAlloc(line.bytes)
                                  : nullptr);
    if (lineBytes.Get() == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    ConvertedLineFeed feed(lines, source.width, lineBytes.Bytes(), line.bytes, BackdropOf(backdrop));
    return ShrinkInto(target, feed, source, width, height);
}
