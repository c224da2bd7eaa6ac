#include "imaging/wic_picture.h"

#include <windows.h>

#include <wincodec.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/test_hooks.h"
#include "engine/picture_file.h"
#include "imaging/picture_buffer.h"
#include "imaging/wic_source_transform.h"
#include "support/test_files.h"
#include "support/test_pictures.h"
#include "unit/imaging/pixels.h"

namespace {

constexpr UINT kBlock = 8;  // the largest reduction a decoder makes

// A decoder's frame over 24-bit pixels in memory, standing in for the
// system's JPEG decoder, which can reduce by 2, 4 or 8 while decoding (Wine's
// cannot). The pixels are uniform in blocks of 8 x 8, so every reduction is
// exact and a shrink of the reduced frame must equal the whole frame's.
// With brokenData, every read of pixels fails as a decoder's does on a file
// cut short.
class StandInFrame : public IWICBitmapFrameDecode, public SourceTransform {
public:
    StandInFrame(UINT width, UINT height, bool reduces, bool brokenData = false)
        : width_(width), height_(height), reduces_(reduces), brokenData_(brokenData) {}

    static COLORREF ColorAt(UINT x, UINT y) {
        const UINT bx = x / kBlock, by = y / kBlock;
        return RGB((bx * 37 + by * 11) & 0xFF, (bx * 5 + by * 71) & 0xFF, (bx * by * 13) & 0xFF);
    }

    UINT reducedWidth = 0;   // the size the decoder was asked to reduce to
    UINT reducedHeight = 0;
    UINT linesRead = 0;      // lines read at the stored size

    // IUnknown: the test owns the object; references are only counted.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IWICBitmapSource) ||
            IsEqualIID(iid, IID_IWICBitmapFrameDecode)) {
            *object = static_cast<IWICBitmapFrameDecode*>(this);
        } else if (reduces_ && IsEqualIID(iid, SOURCE_TRANSFORM_IID)) {
            *object = static_cast<SourceTransform*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    // IWICBitmapSource
    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override {
        *width = width_;
        *height = height_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override {
        *format = GUID_WICPixelFormat24bppBGR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
        *x = *y = 96.0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize, BYTE* buffer) override {
        const WICRect whole = {0, 0, static_cast<INT>(width_), static_cast<INT>(height_)};
        const WICRect r = rect != nullptr ? *rect : whole;
        if (r.X < 0 || r.Y < 0 || r.X + r.Width > whole.Width || r.Y + r.Height > whole.Height) {
            return E_INVALIDARG;
        }
        linesRead += r.Height;
        return Fill(r, 1, stride, bufferSize, buffer);
    }

    // IWICBitmapFrameDecode: no metadata, colour profiles or thumbnail.
    HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader**) override {
        return WINCODEC_ERR_UNSUPPORTEDOPERATION;
    }
    HRESULT STDMETHODCALLTYPE GetColorContexts(UINT, IWICColorContext**, UINT*) override {
        return WINCODEC_ERR_UNSUPPORTEDOPERATION;
    }
    HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource**) override { return WINCODEC_ERR_CODECNOTHUMBNAIL; }

    // The transform: the stored size divided by 1, 2, 4 or 8, rounded up.
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                         WICBitmapTransformOptions transform, UINT stride, UINT bufferSize,
                                         BYTE* buffer) override {
        const UINT divisor = DivisorFor(width, height);
        if (rect != nullptr || divisor == 0 || width != Reduced(width_, divisor) ||
            height != Reduced(height_, divisor) || *format != GUID_WICPixelFormat24bppBGR ||
            transform != WICBitmapTransformRotate0) {
            return E_INVALIDARG;
        }
        reducedWidth = width;
        reducedHeight = height;
        return Fill({0, 0, static_cast<INT>(width), static_cast<INT>(height)}, divisor, stride, bufferSize, buffer);
    }
    HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) override {
        const UINT divisor = DivisorFor(*width, *height);
        *width = Reduced(width_, divisor);
        *height = Reduced(height_, divisor);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) override {
        *format = GUID_WICPixelFormat24bppBGR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) override {
        *supported = transform == WICBitmapTransformRotate0;
        return S_OK;
    }

private:
    static UINT Reduced(UINT side, UINT divisor) { return (side + divisor - 1) / divisor; }

    // The largest reduction that still gives at least width x height.
    UINT DivisorFor(UINT width, UINT height) const {
        for (UINT divisor = kBlock; divisor >= 1; divisor /= 2) {
            if (Reduced(width_, divisor) >= width && Reduced(height_, divisor) >= height) {
                return divisor;
            }
        }
        return 1;
    }

    // The rectangle r of the picture reduced by divisor, as 24-bit lines.
    HRESULT Fill(const WICRect& r, UINT divisor, UINT stride, UINT bufferSize, BYTE* buffer) const {
        if (brokenData_) {
            return WINCODEC_ERR_BADIMAGE;
        }
        if (stride < 3u * r.Width || bufferSize < stride * (r.Height - 1) + 3u * r.Width) {
            return E_INVALIDARG;
        }
        for (INT y = 0; y < r.Height; ++y) {
            BYTE* p = buffer + static_cast<size_t>(y) * stride;
            for (INT x = 0; x < r.Width; ++x, p += 3) {
                const COLORREF c = ColorAt((r.X + x) * divisor, (r.Y + y) * divisor);
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
        }
        return S_OK;
    }

    UINT width_, height_;
    bool reduces_, brokenData_;
    ULONG references_ = 1;
};

// Puts a stand-in in place of every file's frame for the life of the object.
class FrameStandIn {
public:
    explicit FrameStandIn(StandInFrame& frame) { Hooks().decoderFrame = &frame; }
    ~FrameStandIn() { Hooks().decoderFrame = nullptr; }
    FrameStandIn(const FrameStandIn&) = delete;
    FrameStandIn& operator=(const FrameStandIn&) = delete;
};

class WicDecoding : public testing::Test {
protected:
    TempFolder folder;
    PictureBuffer buffer;
};

// A 96 x 64 frame: reduced by the largest of 8, 4 and 2 that keeps the shown
// size, read whole only where none does, and shrunk to the very pixels the
// whole frame shrinks to.
TEST_F(WicDecoding, TheDecoderReducesByTheLargestStepThatKeepsTheShownSize) {
    const std::string path = folder / "photo.jpg";
    ASSERT_TRUE(WriteFileBytes(path, "stands for a photo"));
    BitmapBuffer whole;
    ASSERT_TRUE(whole.Create(96, 64, 24, RGB(0, 0, 0)));
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 96; ++x) {
            SetPixelAt(whole, x, y, StandInFrame::ColorAt(x, y));
        }
    }
    struct Case {
        int width, height;
        UINT reducedWidth, reducedHeight, linesRead;
    } cases[] = {
        {12, 8, 12, 8, 0}, {10, 7, 12, 8, 0}, {20, 14, 24, 16, 0}, {40, 30, 48, 32, 0}, {60, 40, 0, 0, 64},
    };
    for (const Case& c : cases) {
        StandInFrame frame(96, 64, true);
        FrameStandIn standIn(frame);
        WicPicture picture;
        ASSERT_TRUE(picture.Open(Wide(path).c_str()));
        ASSERT_TRUE(picture.Decode(buffer, c.width, c.height, RGB(255, 255, 255))) << c.width;
        EXPECT_EQ(std::make_tuple(frame.reducedWidth, frame.reducedHeight, frame.linesRead),
                  std::make_tuple(c.reducedWidth, c.reducedHeight, c.linesRead)) << c.width;
        BitmapBuffer expected;
        ASSERT_TRUE(expected.AssignShrunk(whole, c.width, c.height));
        ASSERT_EQ(std::make_pair(buffer.Width(), buffer.Height()), std::make_pair(c.width, c.height));
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                ASSERT_EQ(PixelAt(buffer, x, y), PixelAt(expected, x, y)) << c.width << ": " << x << ", " << y;
            }
        }
    }
}

// Windows' JPEG decoder refuses a file cut short whole, where the OLE loader
// shows the part it has. Wine's OLE loader decodes JPEG through the imaging
// component and refuses such a file too, so a frame whose data fails stands
// in for the decoder here, over a whole JPEG the OLE loader reads.
TEST_F(WicDecoding, APictureTheDecoderFailsOnIsReadByTheOlderLoader) {
    const std::string path = folder / "cut.jpg";
    if (!WriteJpeg(path, 40, 30, [](int, int) { return RGB(0, 0, 255); })) {
        GTEST_SKIP() << "no JPEG encoder on this platform";
    }
    StandInFrame frame(40, 30, false, true);
    FrameStandIn standIn(frame);
    ASSERT_TRUE(LoadPictureFile(buffer, folder.Path().c_str(), Wide(path).c_str(), nullptr));
    EXPECT_EQ(std::make_pair(buffer.Width(), buffer.Height()), std::make_pair(40, 30));
    EXPECT_GT(GetBValue(PixelAt(buffer, 20, 15)), 230);
}

// A panorama wider than the area shrink takes, red on the left and blue on
// the right: shrunk within the limit, or at its own size without one. Wine's
// OLE loader refuses TIFF, so the TIFF shows the imaging component did it.
TEST_F(WicDecoding, APanoramaWiderThanTheShrinkTakesIsShown) {
    auto halves = [](int x, int) { return x < 20000 ? RGB(255, 0, 0) : RGB(0, 0, 255); };
    const std::string png = folder / "wide.png", tiff = folder / "wide.tif";
    if (!WriteEncodedPicture(png, GUID_ContainerFormatPng, 40000, 4, halves) ||
        !WriteEncodedPicture(tiff, GUID_ContainerFormatTiff, 40000, 4, halves)) {
        GTEST_SKIP() << "the platform lacks an encoder";
    }
    const PictureLimit limit = {20000, 20000, 1.0, 1.0, false};
    for (const std::string& path : {png, tiff}) {
        for (const PictureLimit* given : {&limit, static_cast<const PictureLimit*>(nullptr)}) {
            const int scale = given != nullptr ? 2 : 1;
            ASSERT_TRUE(LoadPictureFile(buffer, folder.Path().c_str(), Wide(path).c_str(), given)) << path;
            ASSERT_EQ(std::make_pair(buffer.Width(), buffer.Height()), std::make_pair(40000 / scale, 4 / scale)) << path;
            EXPECT_EQ(PixelAt(buffer, 5000 / scale, 0), RGB(255, 0, 0)) << path;
            EXPECT_EQ(PixelAt(buffer, 35000 / scale, 1), RGB(0, 0, 255)) << path;
        }
    }
}

}  // namespace
