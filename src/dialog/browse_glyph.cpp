#include "dialog/browse_glyph.h"

#include <commctrl.h>

#include <initializer_list>

#include "base/gdi_guards.h"
#include "base/procedure_lookup.h"
#include "base/window_dpi.h"

namespace {

constexpr int BASE_DPI = 96;

// comctl32's bitmaps of the standard toolbar images, one strip of squares each.
struct ImageStrip {
    UINT resourceId;
    int imageSize;
};
constexpr ImageStrip SMALL_STRIP = {120, 16};
constexpr ImageStrip LARGE_STRIP = {121, 24};

// A strip and the whole number of pixels each of its pixels becomes.
struct GlyphSource {
    ImageStrip strip;
    int scale;
    int Size() const { return strip.imageSize * scale; }
};

// The glyph keeps the size the small image has at 96 DPI as nearly as the
// button leaves room: the largest of the images, or whole multiples of them,
// that fits both. A fractional scale would blur the image, so it is never
// used; at equal sizes the large image wins for its finer drawing. Where
// nothing fits, the small image as it is.
GlyphSource ChooseSource(int dpi, int room) {
    const int wanted = MulDiv(SMALL_STRIP.imageSize, dpi, BASE_DPI);
    const int limit = wanted < room ? wanted : room;
    GlyphSource best = {SMALL_STRIP, 1};
    for (const ImageStrip& strip : {SMALL_STRIP, LARGE_STRIP}) {
        for (int scale = 1; strip.imageSize * scale <= limit; ++scale) {
            if (strip.imageSize * scale >= best.Size()) {
                best = GlyphSource{strip, scale};
            }
        }
    }
    return best;
}

// The square inside the button's raised edges that a picture may fill.
int RoomInside(HWND button) {
    RECT client = {};
    GetClientRect(button, &client);
    const int width = client.right - 2 * GetSystemMetrics(SM_CXEDGE);
    const int height = client.bottom - 2 * GetSystemMetrics(SM_CYEDGE);
    return width < height ? width : height;
}

typedef BOOL(WINAPI* GdiAlphaBlendFn)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

// gdi32's alpha blend, looked up at run time: Windows 95, 98 and NT 4 lack it.
GdiAlphaBlendFn AlphaBlender() { return LoadedProcedureOf<GdiAlphaBlendFn>("gdi32.dll", "GdiAlphaBlend"); }

// The pixels of bitmap when it is a DIB section of 32 bits with an alpha
// channel in use (one without any opaque pixel would blend into nothing);
// else null.
BITMAP* AlphaPixels(HBITMAP bitmap, DIBSECTION& section) {
    if (GetObjectA(bitmap, sizeof section, &section) != sizeof section || section.dsBm.bmBitsPixel != 32 ||
        section.dsBm.bmBits == nullptr) {
        return nullptr;
    }
    GdiFlush();
    BITMAP& b = section.dsBm;
    const BYTE* rows = static_cast<const BYTE*>(b.bmBits);
    for (int y = 0; y < b.bmHeight; ++y) {
        const BYTE* row = rows + static_cast<size_t>(y) * static_cast<size_t>(b.bmWidthBytes);
        for (int x = 0; x < b.bmWidth; ++x) {
            if (row[x * 4 + 3] != 0) {
                return &b;
            }
        }
    }
    return nullptr;
}

// The blend takes colours already multiplied by their alpha; the strips keep
// them whole, and a half-transparent edge would come out too bright.
void PremultiplyAlpha(BITMAP& b) {
    BYTE* rows = static_cast<BYTE*>(b.bmBits);
    for (int y = 0; y < b.bmHeight; ++y) {
        BYTE* pixel = rows + static_cast<size_t>(y) * static_cast<size_t>(b.bmWidthBytes);
        for (int x = 0; x < b.bmWidth; ++x, pixel += 4) {
            const unsigned alpha = pixel[3];
            for (int channel = 0; channel < 3; ++channel) {
                pixel[channel] = static_cast<BYTE>((pixel[channel] * alpha + 127) / 255);
            }
        }
    }
}

// The strip to draw from, owned by the caller. A strip with a palette has its
// standard grey, black and white mapped to the current button colours.
// Wine's strips carry an alpha channel instead, with transparent black around
// the images and soft shadows: those are kept, premultiplied, and alphaBlend
// is set to blend them where the system can.
HBITMAP LoadStrip(HMODULE library, UINT resourceId, GdiAlphaBlendFn& alphaBlend) {
    alphaBlend = nullptr;
    ScopedBitmap withAlpha(static_cast<HBITMAP>(
        LoadImageA(library, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION section = {};
    BITMAP* pixels = withAlpha.Get() != nullptr ? AlphaPixels(withAlpha.Get(), section) : nullptr;
    if (pixels != nullptr) {
        alphaBlend = AlphaBlender();
        if (alphaBlend != nullptr) {
            PremultiplyAlpha(*pixels);
            return withAlpha.Detach();
        }
    }
    return CreateMappedBitmap(library, resourceId, 0, nullptr, 0);
}

// Draws the open-file image of strip over the whole of glyphDc's square, one
// whole square of pixels for each of the image's pixels.
void DrawImage(HDC glyphDc, HBITMAP strip, const GlyphSource& source, GdiAlphaBlendFn alphaBlend) {
    ScopedCreatedDc stripDc(CreateCompatibleDC(nullptr));
    if (stripDc.Get() == nullptr) {
        return;
    }
    ScopedSelection stripSelected(stripDc.Get(), strip);
    const int imageSize = source.strip.imageSize;
    const int left = STD_FILEOPEN * imageSize;
    const int size = source.Size();
    if (alphaBlend != nullptr) {
        // An enlarging blend repeats pixels, as COLORONCOLOR does.
        const BLENDFUNCTION over = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        alphaBlend(glyphDc, 0, 0, size, size, stripDc.Get(), left, 0, imageSize, imageSize, over);
        return;
    }
    // Enlarging with COLORONCOLOR repeats pixels and mixes none.
    SetStretchBltMode(glyphDc, COLORONCOLOR);
    StretchBlt(glyphDc, 0, 0, size, size, stripDc.Get(), left, 0, imageSize, imageSize, SRCCOPY);
}

}  // namespace

HBITMAP MakeBrowseGlyph(HWND button, bool enabled) {
    ScopedClientDc buttonDc(button);
    if (buttonDc.Get() == nullptr) {
        return nullptr;
    }
    const GlyphSource source = ChooseSource(WindowDpi(button), RoomInside(button));
    // By its bare name, not by the system folder's path: the name is
    // redirected to the common controls 6 the manifest binds, the ones the
    // dialog is drawn with, and a full path would bypass that and load the
    // older ones as well. Nothing is read from disk for it: the program
    // imports comctl32, so it is loaded already.
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == nullptr) {
        return nullptr;
    }
    GdiAlphaBlendFn alphaBlend = nullptr;
    ScopedBitmap strip(LoadStrip(library, source.strip.resourceId, alphaBlend));
    FreeLibrary(library);
    if (strip.Get() == nullptr) {
        return nullptr;
    }
    ScopedCreatedDc glyphDc(CreateCompatibleDC(nullptr));
    if (glyphDc.Get() == nullptr) {
        return nullptr;
    }
    const int size = source.Size();
    ScopedBitmap glyph(CreateCompatibleBitmap(buttonDc.Get(), size, size));
    if (glyph.Get() == nullptr) {
        return nullptr;
    }
    {
        ScopedSelection glyphSelected(glyphDc.Get(), glyph.Get());
        HBRUSH surroundings =
            enabled ? GetSysColorBrush(COLOR_BTNFACE) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        if (alphaBlend != nullptr) {
            const RECT square = {0, 0, size, size};
            FillRect(glyphDc.Get(), &square, surroundings);
        }
        DrawImage(glyphDc.Get(), strip.Get(), source, alphaBlend);
        if (!enabled) {
            // The surroundings of the image, reached from its corners, turn
            // white; the image keeps its own pixels.
            ScopedSelection white(glyphDc.Get(), surroundings);
            const int last = size - 1;
            const POINT corners[] = {{0, 0}, {last, last}, {last, 0}, {0, last}};
            for (const POINT& corner : corners) {
                ExtFloodFill(glyphDc.Get(), corner.x, corner.y, GetPixel(glyphDc.Get(), corner.x, corner.y),
                             FLOODFILLSURFACE);
            }
        }
    }
    return glyph.Detach();
}
