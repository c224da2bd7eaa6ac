#include "imaging/bitmap_buffer.h"

#include <climits>
#include <cstring>

#include "base/gdi_guards.h"
#include "base/process_heap.h"
#include "base/wide_path.h"
#include "imaging/bmp_layout.h"
#include "imaging/scale_math.h"

namespace {

constexpr WORD BMP_SIGNATURE = 0x4D42;  // "BM"
constexpr WORD PALETTE_VERSION = 0x300;
constexpr UINT DEFAULT_PALETTE_ENTRIES = 16;
constexpr UINT HALFTONE_ENTRIES = 256;
constexpr DWORD MASKS16[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD MASKS32[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
constexpr int MAX_CHANNEL = 255;
constexpr WORD MAX_INDEXED_BITS = 8;

size_t FormatSizeOf(const BITMAPINFOHEADER& header) {
    return sizeof(BITMAPINFOHEADER) + (header.biCompression == BI_BITFIELDS ? BMP_MASK_BYTES : 0) +
           sizeof(RGBQUAD) * static_cast<size_t>(ColorCountOf(&header));
}

// The display DC the DIB sections and halftone palettes are made against.
HDC OpenDisplayDc() {
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (display == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return display;
}

void CopyEntriesToTable(const PALETTEENTRY* entries, UINT count, RGBQUAD* table) {
    for (UINT i = 0; i < count; ++i) {
        table[i].rgbRed = entries[i].peRed;
        table[i].rgbGreen = entries[i].peGreen;
        table[i].rgbBlue = entries[i].peBlue;
    }
}

BYTE ClampChannel(int v) { return static_cast<BYTE>(v > MAX_CHANNEL ? MAX_CHANNEL : (v < 0 ? 0 : v)); }

// One lookup table per channel, so the pixel walk is three loads per pixel.
struct ChannelOffsets {
    BYTE red[256];
    BYTE green[256];
    BYTE blue[256];

    ChannelOffsets(int redDelta, int greenDelta, int blueDelta) {
        for (int v = 0; v < 256; ++v) {
            red[v] = ClampChannel(v + redDelta);
            green[v] = ClampChannel(v + greenDelta);
            blue[v] = ClampChannel(v + blueDelta);
        }
    }
};

// Every 24-bit pixel of a buffer, from the last memory row to the first, each
// row over Width pixels; the row padding is left alone.
template <typename PixelFunction>
void ForEach24BitPixel(BYTE* bits, int width, int height, DWORD stride, PixelFunction function) {
    for (int row = height - 1; row >= 0; --row) {
        BYTE* p = bits + static_cast<size_t>(row) * stride;
        for (int x = 0; x < width; ++x, p += 3) {
            function(p);
        }
    }
}

}  // namespace

UINT ColorCountOf(const BITMAPINFOHEADER* header) {
    if (header == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const WORD used = LOWORD(header->biClrUsed);
    if (used != 0) {
        return used;
    }
    switch (header->biBitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

BitmapBuffer::~BitmapBuffer() { Release(); }

BOOL BitmapBuffer::Release() { return ResizeInfo(0); }

void BitmapBuffer::TakeFrom(BitmapBuffer& other) {
    Release();
    info = other.info;
    bits = other.bits;
    dc = other.dc;
    bitmap = other.bitmap;
    palette = other.palette;
    other.info = nullptr;
    other.bits = nullptr;
    other.dc = nullptr;
    other.bitmap = nullptr;
    other.palette = nullptr;
}

BOOL BitmapBuffer::Fail(DWORD error) {
    Release();
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
    }
    return FALSE;
}

BOOL BitmapBuffer::ResizeInfo(size_t newSize) {
    if (info != nullptr) {
        if (bitmap != nullptr) {
            if (dc != nullptr) {
                bitmap = static_cast<HBITMAP>(SelectObject(dc, bitmap));
                DeleteDC(dc);
                dc = nullptr;
            }
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
        if (dc != nullptr) {
            DeleteDC(dc);
            dc = nullptr;
        }
        bits = nullptr;
        if (palette != nullptr) {
            DeleteObject(palette);
            palette = nullptr;
        }
        if (newSize == 0) {
            HeapBlockFree(info);
            info = nullptr;
            return TRUE;
        }
        void* grown = HeapBlockResize(info, newSize);
        if (grown == nullptr) {
            HeapBlockFree(info);
            info = nullptr;
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
        info = static_cast<BITMAPINFO*>(grown);
        return TRUE;
    }
    if (newSize == 0) {
        return TRUE;
    }
    info = static_cast<BITMAPINFO*>(HeapBlockAlloc(newSize));
    if (info == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return TRUE;
}

RGBQUAD* BitmapBuffer::ColorTable() const {
    BYTE* start = reinterpret_cast<BYTE*>(info) + sizeof(BITMAPINFOHEADER);
    if (info->bmiHeader.biCompression == BI_BITFIELDS) {
        start += BMP_MASK_BYTES;
    }
    return reinterpret_cast<RGBQUAD*>(start);
}

BOOL BitmapBuffer::Create(int width, int height, WORD bitCount, COLORREF fillColor) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = (bitCount == 16 || bitCount == 32) ? BI_BITFIELDS : BI_RGB;

    ScopedHeapBlock block(HeapBlockAlloc(FormatSizeOf(header)));
    if (block.Get() == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    std::memcpy(block.Get(), &header, sizeof header);
    BYTE* after = block.Bytes() + sizeof header;
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(after);

    switch (bitCount) {
    case 1:
        table[1].rgbRed = table[1].rgbGreen = table[1].rgbBlue = 255;
        break;
    case 4: {
        PALETTEENTRY entries[DEFAULT_PALETTE_ENTRIES] = {};
        GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, DEFAULT_PALETTE_ENTRIES,
                          entries);
        CopyEntriesToTable(entries, DEFAULT_PALETTE_ENTRIES, table);
        break;
    }
    case 8: {
        HDC display = OpenDisplayDc();
        if (display == nullptr) {
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        }
        ScopedPalette halftone(CreateHalftonePalette(display));
        DeleteDC(display);
        PALETTEENTRY entries[HALFTONE_ENTRIES] = {};
        if (halftone.Get() == nullptr ||
            GetPaletteEntries(halftone.Get(), 0, HALFTONE_ENTRIES, entries) == 0) {
            return Fail();
        }
        CopyEntriesToTable(entries, HALFTONE_ENTRIES, table);
        break;
    }
    case 16:
        std::memcpy(after, MASKS16, sizeof MASKS16);
        break;
    case 32:
        std::memcpy(after, MASKS32, sizeof MASKS32);
        break;
    default:
        break;
    }

    if (!CreateFromInfo(static_cast<BITMAPINFO*>(block.Get()), fillColor)) {
        return Fail();
    }
    return TRUE;
}

BOOL BitmapBuffer::CreateFromInfo(const BITMAPINFO* source, COLORREF fillColor) {
    if (source == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, &source->bmiHeader, sizeof header);
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biPlanes = 1;
    if (header.biCompression != BI_BITFIELDS) {
        header.biCompression = BI_RGB;
    }
    // Heights below zero would make a top-down section that every row loop
    // here would walk upside down; sizes past 2 GiB cannot be held at all.
    const long long stride = (static_cast<long long>(header.biBitCount) * header.biWidth + 31) / 32 * 4;
    const long long imageSize = stride * header.biHeight;
    if (header.biWidth <= 0 || header.biHeight <= 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (imageSize > INT_MAX) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    header.biSizeImage = static_cast<DWORD>(imageSize);

    if (!ResizeInfo(FormatSizeOf(header))) {
        return Fail();
    }
    std::memcpy(info, &header, sizeof header);
    if (ColorCountOf(&header) != 0 || header.biCompression == BI_BITFIELDS) {
        const size_t tableBytes = sizeof(RGBQUAD) * static_cast<size_t>(ColorCountOf(&source->bmiHeader)) +
                                  (source->bmiHeader.biCompression == BI_BITFIELDS ? BMP_MASK_BYTES : 0);
        const BYTE* from = reinterpret_cast<const BYTE*>(source) + LOWORD(source->bmiHeader.biSize);
        std::memcpy(reinterpret_cast<BYTE*>(info) + sizeof header, from, tableBytes);
    }

    HDC display = OpenDisplayDc();
    if (display == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    void* pixels = nullptr;
    bitmap = CreateDIBSection(display, info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    DeleteDC(display);
    if (bitmap == nullptr) {
        return Fail();
    }
    bits = static_cast<BYTE*>(pixels);

    dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    bitmap = static_cast<HBITMAP>(SelectObject(dc, bitmap));

    if (ColorCount() != 0 && !RebuildPalette()) {
        return Fail();
    }

    ScopedBrush brush(CreateSolidBrush(fillColor));
    if (brush.Get() == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    const RECT whole = {0, 0, Width(), Height()};
    if (!FillRect(dc, &whole, brush.Get())) {
        return Fail();
    }
    return TRUE;
}

BOOL BitmapBuffer::LoadBmpFile(const wchar_t* path) {
    ScopedFile file(OpenFileForReading(path));
    if (!file.IsOpen()) {
        return Fail();
    }
    BYTE fileHeader[BMP_FILE_HEADER_SIZE];
    DWORD got = 0;
    if (!ReadFile(file.Get(), fileHeader, sizeof fileHeader, &got, nullptr)) {
        return Fail();
    }
    if (got != sizeof fileHeader || (fileHeader[0] | (fileHeader[1] << 8)) != BMP_SIGNATURE) {
        return Fail(ERROR_INVALID_DATA);
    }
    DWORD fileSize = 0;
    std::memcpy(&fileSize, fileHeader + 2, sizeof fileSize);
    DWORD offBits = 0;
    std::memcpy(&offBits, fileHeader + 10, sizeof offBits);

    // The header's own size claim decides how much is read. A claim the file
    // cannot back is a short read, found before anything is allocated for it.
    const DWORD actualSize = GetFileSize(file.Get(), nullptr);
    if (fileSize <= BMP_FILE_HEADER_SIZE || actualSize == INVALID_FILE_SIZE || fileSize > actualSize) {
        return Fail(ERROR_INVALID_DATA);
    }
    if (fileSize - BMP_FILE_HEADER_SIZE > BMP_MAX_PIXEL_BYTES + BMP_MAX_PIXEL_BYTES / 2) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    const DWORD blockSize = fileSize - BMP_FILE_HEADER_SIZE;
    ScopedHeapBlock block(HeapBlockAlloc(blockSize));
    if (block.Get() == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!ReadFile(file.Get(), block.Get(), blockSize, &got, nullptr)) {
        return Fail();
    }
    BmpLayout layout;
    if (got != blockSize) {
        return Fail(ERROR_INVALID_DATA);
    }
    if (!CheckBmpLayout(block.Bytes(), blockSize, offBits, &layout)) {
        return Fail(layout.tooLarge ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_DATA);
    }
    if (layout.topDown) {
        FlipBmpRows(layout, block.Bytes());
    }
    ScopedHeapBlock format(HeapBlockAlloc(BmpFormatSize(layout)));
    if (format.Get() == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    WriteBmpFormat(layout, block.Bytes(), format.Bytes());
    const BITMAPINFO* fileInfo = static_cast<const BITMAPINFO*>(format.Get());

    if (!CreateFromInfo(fileInfo, RGB(0, 0, 0))) {
        return FALSE;
    }
    // Run-length files are decoded here, into the uncompressed section.
    if (SetDIBitsToDevice(dc, 0, 0, layout.width, layout.height, 0, 0, 0, layout.height,
                          block.Bytes() + layout.pixelOffset, fileInfo, DIB_RGB_COLORS) == 0) {
        return Fail();
    }
    return TRUE;
}

BOOL BitmapBuffer::RebuildPalette() {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    if (palette != nullptr) {
        DeleteObject(palette);
        palette = nullptr;
    }
    const UINT count = ColorCount();
    if (count == 0) {
        return FALSE;
    }
    ScopedHeapBlock description(HeapBlockAlloc(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count));
    if (description.Get() == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    LOGPALETTE* logical = static_cast<LOGPALETTE*>(description.Get());
    logical->palVersion = PALETTE_VERSION;
    logical->palNumEntries = static_cast<WORD>(count);
    const RGBQUAD* table = ColorTable();
    for (UINT i = 0; i < count; ++i) {
        logical->palPalEntry[i].peRed = table[i].rgbRed;
        logical->palPalEntry[i].peGreen = table[i].rgbGreen;
        logical->palPalEntry[i].peBlue = table[i].rgbBlue;
        logical->palPalEntry[i].peFlags = 0;
    }
    palette = CreatePalette(logical);
    return palette != nullptr;
}

BOOL BitmapBuffer::SetColorTable(const PALETTEENTRY* entries) {
    const UINT count = ColorCount();
    if (info == nullptr || count == 0) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    if (entries == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RGBQUAD* table = ColorTable();
    CopyEntriesToTable(entries, count, table);
    if (SetDIBColorTable(dc, 0, count, table) != count) {
        return FALSE;
    }
    return RebuildPalette();
}

BOOL BitmapBuffer::SetColorsFromPalette(HPALETTE source) {
    const UINT count = ColorCount();
    if (info == nullptr || count == 0) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    // SetColorTable reads count entries, which a 16-bit biClrUsed can put
    // beyond 256: the table always has room for count, and at most 256 are
    // taken from the palette.
    const UINT tableEntries = count > HALFTONE_ENTRIES ? count : HALFTONE_ENTRIES;
    ScopedHeapBlock entries(HeapBlockAlloc(sizeof(PALETTEENTRY) * tableEntries));
    if (entries.Get() == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    PALETTEENTRY* table = static_cast<PALETTEENTRY*>(entries.Get());
    if (GetPaletteEntries(source, 0, count > HALFTONE_ENTRIES ? HALFTONE_ENTRIES : count, table) == 0) {
        return FALSE;
    }
    return SetColorTable(table);
}

HPALETTE BitmapBuffer::SelectPaletteInto(HDC target) const {
    if (palette == nullptr) {
        return nullptr;
    }
    HPALETTE previous = SelectPalette(target, palette, FALSE);
    RealizePalette(target);
    return previous;
}

BOOL BitmapBuffer::Draw(HDC target, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc,
                        int hSrc, DWORD rop) const {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    ScopedSavedDc saved(target);
    if (!saved.Saved()) {
        return FALSE;
    }
    SelectPaletteInto(target);
    SetStretchBltMode(target, COLORONCOLOR);
    return StretchBlt(target, xDest, yDest, wDest, hDest, dc, xSrc, ySrc, wSrc, hSrc, rop);
}

BOOL BitmapBuffer::DrawScaled(HDC target, double scale, DWORD rop) const {
    int w = 0;
    int h = 0;
    if (!ScaleDimension(Width(), scale, &w) || !ScaleDimension(Height(), scale, &h)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Draw(target, 0, 0, w, h, 0, 0, Width(), Height(), rop);
}

BOOL BitmapBuffer::AssignScaled(const BitmapBuffer& source, double scale) {
    if (&source == this) {
        if (dc == nullptr || scale == 1.0) {
            return TRUE;
        }
        BitmapBuffer copy;
        if (!copy.AssignScaled(*this, 1.0)) {
            return FALSE;
        }
        return AssignScaled(copy, scale);
    }
    if (source.dc == nullptr) {
        Release();
        return TRUE;
    }
    int w = 0;
    int h = 0;
    if (!ScaleDimension(source.Width(), scale, &w) || !ScaleDimension(source.Height(), scale, &h)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const size_t formatSize = FormatSizeOf(source.info->bmiHeader);
    ScopedHeapBlock copy(HeapBlockAlloc(formatSize));
    if (copy.Get() == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    std::memcpy(copy.Get(), source.info, formatSize);
    BITMAPINFO* format = static_cast<BITMAPINFO*>(copy.Get());
    format->bmiHeader.biWidth = w;
    format->bmiHeader.biHeight = h;
    // CreateFromInfo builds the palette from the copied colour table; the
    // copy of the pixels leaves that table as it is.
    if (!CreateFromInfo(format, RGB(0, 0, 0)) || !source.DrawScaled(dc, scale, SRCCOPY)) {
        return Fail();
    }
    return TRUE;
}

BOOL BitmapBuffer::Scale(double scale) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    int w = 0;
    int h = 0;
    if (scale < 1.0 && ScaleDimension(Width(), scale, &w) && ScaleDimension(Height(), scale, &h) && w >= 1 &&
        h >= 1 && AssignShrunk(*this, w, h)) {
        return TRUE;
    }
    if (!AssignScaled(*this, scale)) {
        return Fail();
    }
    return TRUE;
}

BOOL BitmapBuffer::AdjustColors(int redDelta, int greenDelta, int blueDelta) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    const ChannelOffsets offsets(redDelta, greenDelta, blueDelta);
    // Only pixels of 8 bits or fewer are indices into the table. A deeper
    // image may carry one too (biClrUsed, a palette suggested for displays
    // of 256 colours), but its pixels hold the colours themselves.
    const UINT count = ColorCount();
    if (count != 0 && BitCount() <= MAX_INDEXED_BITS) {
        RGBQUAD* table = ColorTable();
        for (UINT i = 0; i < count; ++i) {
            table[i].rgbRed = offsets.red[table[i].rgbRed];
            table[i].rgbGreen = offsets.green[table[i].rgbGreen];
            table[i].rgbBlue = offsets.blue[table[i].rgbBlue];
        }
        if (SetDIBColorTable(dc, 0, count, table) != count) {
            return FALSE;
        }
        return RebuildPalette();
    }

    auto adjust = [&offsets](BYTE* p) {
        p[0] = offsets.blue[p[0]];
        p[1] = offsets.green[p[1]];
        p[2] = offsets.red[p[2]];
    };
    if (BitCount() == 16 || BitCount() == 32) {
        BitmapBuffer temporary;
        if (!temporary.Create(Width(), Height(), 24, RGB(0, 0, 0)) ||
            !DrawScaled(temporary.Dc(), 1.0, SRCCOPY)) {
            return FALSE;
        }
        GdiFlush();
        ForEach24BitPixel(temporary.Bits(), temporary.Width(), temporary.Height(), temporary.Stride(), adjust);
        return temporary.DrawScaled(dc, 1.0, SRCCOPY);
    }
    // GDI may still be drawing into the section; let it finish first.
    GdiFlush();
    if (bits != nullptr) {
        ForEach24BitPixel(bits, Width(), Height(), Stride(), adjust);
    }
    return TRUE;
}

BOOL BitmapBuffer::CreateColorKeyMask(const BitmapBuffer& source, COLORREF transparentColor, WORD bitCount,
                                      BOOL invert) {
    const BYTE transparentRed = GetRValue(transparentColor);
    const BYTE transparentGreen = GetGValue(transparentColor);
    const BYTE transparentBlue = GetBValue(transparentColor);
    const BYTE matching = invert ? 0x00 : 0xFF;
    const BYTE other = invert ? 0xFF : 0x00;
    if (source.dc == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    BitmapBuffer temporary;
    if (!temporary.Create(source.Width(), source.Height(), 24, RGB(0, 0, 0)) ||
        !source.DrawScaled(temporary.Dc(), 1.0, SRCCOPY)) {
        return Fail();
    }
    GdiFlush();
    ForEach24BitPixel(temporary.Bits(), temporary.Width(), temporary.Height(), temporary.Stride(), [&](BYTE* p) {
        const bool transparent = p[0] == transparentBlue && p[1] == transparentGreen && p[2] == transparentRed;
        const BYTE v = transparent ? matching : other;
        p[0] = p[1] = p[2] = v;
    });
    if (!Create(temporary.Width(), temporary.Height(), bitCount, RGB(0, 0, 0)) ||
        !temporary.DrawScaled(dc, 1.0, SRCCOPY)) {
        return Fail();
    }
    return TRUE;
}
