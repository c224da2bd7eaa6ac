#include "imaging/wic_picture.h"

#include <initguid.h>
#include <wincodec.h>

#include "base/path_limits.h"
#include "base/process_heap.h"
#include "imaging/area_shrink.h"
#include "imaging/backdrop_compose.h"
#include "imaging/bitmap_buffer.h"
#include "imaging/orientation_turn.h"

namespace {

constexpr int kBytesPerPixel = 3;
constexpr int kPremultipliedBytesPerPixel = 4;
constexpr WORD kTrueColorDepth = 24;
// Reductions a decoder may offer while decoding, the largest first.
constexpr UINT kReductions[] = {8, 4, 2};

bool imagingComponentAvailable = true;

// The decoder's own scaling, which the system's JPEG decoder offers (scaling
// by 1/2, 1/4 and 1/8 as it decodes). The SDK headers of this tool chain do
// not declare it.
DEFINE_GUID(IID_SourceTransform, 0x3b16811b, 0x6a43, 0x4ec9, 0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40);
struct SourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format, WICBitmapTransformOptions transform,
                                                 UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};

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
    ConvertedLineFeed(IWICBitmapSource* source, UINT width, BYTE* line, BackdropColor backdrop)
        : source_(source), width_(width), line_(line), backdrop_(backdrop) {}

    bool Read(int32_t first, int32_t count, uint8_t* lines, ptrdiff_t stride) override {
        const UINT lineBytes = width_ * kPremultipliedBytesPerPixel;
        for (int32_t k = 0; k < count; ++k) {
            const WICRect rect = {0, first + k, static_cast<INT>(width_), 1};
            if (FAILED(source_->CopyPixels(&rect, lineBytes, lineBytes, line_))) {
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
    BackdropColor backdrop_;
};

// Source lines of 24-bit pixels already in memory, top line first.
class MemoryLineFeed : public SourceLineFeed {
public:
    MemoryLineFeed(const BYTE* top, size_t stride, UINT width) : top_(top), stride_(stride), width_(width) {}

    bool Read(int32_t first, int32_t count, uint8_t* lines, ptrdiff_t stride) override {
        for (int32_t k = 0; k < count; ++k) {
            CopyMemory(lines + k * stride, top_ + static_cast<size_t>(first + k) * stride_, width_ * kBytesPerPixel);
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
    UINT width;
    UINT height;
    size_t stride;
};

// The frame reduced by the decoder by the largest of its reductions that
// keeps at least width x height; pixels null when it offers none.
ReducedFrame DecodeReduced(IWICBitmapFrameDecode* frame, UINT storedWidth, UINT storedHeight, UINT width,
                           UINT height) {
    ReducedFrame reduced = {};
    ScopedInterface<SourceTransform> transform;
    if (FAILED(frame->QueryInterface(IID_SourceTransform, transform.ReceiveVoid()))) {
        return reduced;
    }
    for (UINT divisor : kReductions) {
        UINT w = (storedWidth + divisor - 1) / divisor;
        UINT h = (storedHeight + divisor - 1) / divisor;
        if (w < width || h < height || FAILED(transform.Get()->GetClosestSize(&w, &h)) || w < width ||
            h < height || w >= storedWidth || h >= storedHeight) {
            continue;
        }
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        if (FAILED(transform.Get()->GetClosestPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) {
            return reduced;
        }
        const size_t stride = (static_cast<size_t>(w) * kBytesPerPixel + 3) & ~static_cast<size_t>(3);
        const size_t bytes = stride * h;
        ScopedHeapBlock pixels(bytes <= MAXDWORD ? HeapBlockAlloc(bytes) : nullptr);
        if (pixels.Get() == nullptr ||
            FAILED(transform.Get()->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0,
                                               static_cast<UINT>(stride), static_cast<UINT>(bytes),
                                               pixels.Bytes())) ||
            format != GUID_WICPixelFormat24bppBGR) {
            return reduced;
        }
        reduced = {pixels.Detach(), w, h, stride};
        return reduced;
    }
    return reduced;
}

// Shrinks what feed hands over (sourceWidth x sourceHeight) into target,
// made anew as a 24-bit picture of width x height.
bool ShrinkInto(BitmapBuffer& target, SourceLineFeed& feed, UINT sourceWidth, UINT sourceHeight, int width,
                int height) {
    const size_t scratchBytes = AreaShrinkFeedScratchBytes(static_cast<int32_t>(sourceWidth),
                                                           static_cast<int32_t>(sourceHeight), width, height,
                                                           kBytesPerPixel);
    ScopedHeapBlock scratch(scratchBytes != 0 ? HeapBlockAlloc(scratchBytes) : nullptr);
    if (scratch.Get() == nullptr || !target.Create(width, height, kTrueColorDepth, RGB(0, 0, 0))) {
        target.Release();
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    const PixelRows rows = BottomUpDibRows(target.Bits(), width, height, target.Stride());
    const TargetLines lines = {rows.top, rows.width, rows.height, rows.stride};
    if (!ShrinkAreaFromFeed(static_cast<int32_t>(sourceWidth), static_cast<int32_t>(sourceHeight), feed, lines,
                            kBytesPerPixel, WidestAreaShrinkKernelSet(), scratch.Get(), scratchBytes)) {
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

bool WicPicture::Open(const char* path) {
    if (!imagingComponentAvailable || factory_ != nullptr) {
        return false;
    }
    WCHAR widePath[PATH_BUFFER_SIZE];
    if (path == nullptr || MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, PATH_BUFFER_SIZE) == 0 ||
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory_)))) {
        return false;
    }
    ScopedInterface<IWICBitmapDecoder> decoder;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(factory_->CreateDecoderFromFilename(widePath, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                   decoder.Receive())) ||
        FAILED(decoder.Get()->GetFrame(0, &frame_)) || FAILED(frame_->GetSize(&width, &height)) || width == 0 ||
        height == 0 || width > MAXLONG || height > MAXLONG) {
        return false;
    }
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    return true;
}

bool WicPicture::Decode(BitmapBuffer& target, int width, int height, COLORREF backdrop) {
    target.Release();
    if (frame_ == nullptr || width < 1 || height < 1 || width > width_ || height > height_) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const ReducedFrame reduced = DecodeReduced(frame_, static_cast<UINT>(width_), static_cast<UINT>(height_),
                                               static_cast<UINT>(width), static_cast<UINT>(height));
    ScopedHeapBlock reducedPixels(reduced.pixels);
    if (reducedPixels.Get() != nullptr) {
        MemoryLineFeed feed(reducedPixels.Bytes(), reduced.stride, reduced.width);
        return ShrinkInto(target, feed, reduced.width, reduced.height, width, height);
    }
    // Every source the decoders give converts to premultiplied 32 bits, so
    // one way of laying transparent parts over the backdrop serves them all.
    ScopedInterface<IWICFormatConverter> converter;
    ScopedHeapBlock line(HeapBlockAlloc(static_cast<size_t>(width_) * kPremultipliedBytesPerPixel));
    if (line.Get() == nullptr || FAILED(factory_->CreateFormatConverter(converter.Receive())) ||
        FAILED(converter.Get()->Initialize(frame_, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                           0.0, WICBitmapPaletteTypeCustom))) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    ConvertedLineFeed feed(converter.Get(), static_cast<UINT>(width_), line.Bytes(), BackdropOf(backdrop));
    return ShrinkInto(target, feed, static_cast<UINT>(width_), static_cast<UINT>(height_), width, height);
}

void SetImagingComponentForTest(bool available) { imagingComponentAvailable = available; }
