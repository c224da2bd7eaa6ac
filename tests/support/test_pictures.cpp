#include "support/test_pictures.h"

#include <objbase.h>
#include <wincodec.h>

#include "support/little_endian_bytes.h"
#include "support/test_files.h"

namespace {

void AppendBgr(std::string& out, COLORREF color) {
    out += {static_cast<char>(GetBValue(color)), static_cast<char>(GetGValue(color)),
            static_cast<char>(GetRValue(color))};
}

}  // namespace

bool WriteEncodedPicture(const std::string& path, const GUID& container, int width, int height,
                         const std::function<COLORREF(int x, int y)>& colorAt,
                         const std::function<BYTE(int x, int y)>& alphaAt) {
    // A thread already in another apartment keeps it; the encoder works there too.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool written = false;
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    std::wstring widePath(path.begin(), path.end());
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)))) {
        const GUID wanted = alphaAt ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
        const UINT bytesPerPixel = alphaAt ? 4 : 3;
        WICPixelFormatGUID format = wanted;
        std::string pixels;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                AppendBgr(pixels, colorAt(x, y));
                if (alphaAt) {
                    pixels.push_back(static_cast<char>(alphaAt(x, y)));
                }
            }
        }
        written = SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, wanted) &&
                  SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * bytesPerPixel,
                                               static_cast<UINT>(pixels.size()),
                                               reinterpret_cast<BYTE*>(&pixels[0]))) &&
                  SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    for (IUnknown* object : {static_cast<IUnknown*>(frame), static_cast<IUnknown*>(encoder),
                             static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)}) {
        if (object != nullptr) object->Release();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return written;
}

namespace {

// An APP1 segment holding an EXIF block (big-endian) whose first IFD has one
// entry: the orientation.
std::string ExifSegment(int orientation) {
    const unsigned char segment[] = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0,               // APP1, "Exif"
                                     'M', 'M', 0x00, 0x2A, 0x00, 0x00, 0x00, 0x08,                   // TIFF header
                                     0x00, 0x01,                                                     // one entry
                                     0x01, 0x12, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01,                 // SHORT, 1
                                     0x00, static_cast<unsigned char>(orientation), 0x00, 0x00,      // the value
                                     0x00, 0x00, 0x00, 0x00};                                        // no IFD1
    return std::string(reinterpret_cast<const char*>(segment), sizeof segment);
}

}  // namespace

bool WriteJpeg(const std::string& path, int width, int height,
               const std::function<COLORREF(int x, int y)>& colorAt, int orientation) {
    if (!WriteEncodedPicture(path, GUID_ContainerFormatJpeg, width, height, colorAt)) {
        return false;
    }
    std::string jpeg = ReadFileBytes(path);
    if (jpeg.size() < 2) {
        return false;
    }
    if (orientation != 0) {
        jpeg.insert(2, ExifSegment(orientation));
    }
    return WriteFileBytes(path, jpeg);
}

std::string Bmp24(int width, int height, const std::function<COLORREF(int x, int y)>& colorAt) {
    const unsigned long stride = ((24ul * width + 31) / 32) * 4;
    std::string rows;
    for (int row = height - 1; row >= 0; --row) {
        std::string line;
        for (int x = 0; x < width; ++x) {
            AppendBgr(line, colorAt(x, row));
        }
        line.resize(stride, '\0');
        rows += line;
    }
    return BmpFileBytes(Bytes().Info(width, height, 24, BI_RGB, stride * height).text + rows, 14 + 40);
}

std::string SolidBmp24(int width, int height, COLORREF color) {
    return Bmp24(width, height, [color](int, int) { return color; });
}

std::string Tiff24(int width, int height, const std::function<COLORREF(int x, int y)>& colorAt, int orientation) {
    constexpr int TIFF_SHORT = 3, TIFF_LONG = 4;
    const struct {
        int tag, type;
        unsigned long count, value;
    } entries[] = {
        {256, TIFF_LONG, 1, static_cast<unsigned long>(width)},   // ImageWidth
        {257, TIFF_LONG, 1, static_cast<unsigned long>(height)},  // ImageLength
        {258, TIFF_SHORT, 3, 0},                                    // BitsPerSample, at bitsAt
        {259, TIFF_SHORT, 1, 1},                                    // no compression
        {262, TIFF_SHORT, 1, 2},                                    // RGB
        {273, TIFF_LONG, 1, 0},                                     // StripOffsets, at pixelsAt
        {274, TIFF_SHORT, 1, static_cast<unsigned long>(orientation)},
        {277, TIFF_SHORT, 1, 3},                                    // SamplesPerPixel
        {278, TIFF_LONG, 1, static_cast<unsigned long>(height)},  // one strip
        {279, TIFF_LONG, 1, 3ul * width * height},                  // StripByteCounts
    };
    const int count = sizeof entries / sizeof entries[0];
    const unsigned long bitsAt = 8 + 2 + 12 * count + 4, pixelsAt = bitsAt + 6;
    Bytes file;
    file.U8('I').U8('I').U16(42).U32(8).U16(count);
    for (const auto& entry : entries) {
        const unsigned long value = entry.tag == 258 ? bitsAt : entry.tag == 273 ? pixelsAt : entry.value;
        // A single SHORT lies in the low half of the 4-byte field, as a LONG would.
        file.U16(entry.tag).U16(entry.type).U32(entry.count).U32(value);
    }
    file.U32(0).U16(8).U16(8).U16(8);  // no further IFD; then 8 bits for each sample
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF color = colorAt(x, y);
            file.U8(GetRValue(color)).U8(GetGValue(color)).U8(GetBValue(color));
        }
    }
    return file.text;
}
