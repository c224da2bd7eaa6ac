#include "imaging/caption_stamp.h"

#include "base/gdi_guards.h"
#include "imaging/bitmap_buffer.h"
#include "imaging/caption_layout.h"
#include "imaging/caption_text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide text functions take UTF-16");

namespace {

constexpr COLORREF TEXT_COLOR = RGB(255, 255, 255);
constexpr COLORREF OUTLINE_COLOR = RGB(24, 24, 24);
constexpr WORD TRUE_COLOR_DEPTH = 24;
// The outline's width is this share of the text height, at least a pixel.
constexpr int OUTLINE_SHARE = 14;

// The system's Japanese interface fonts, newest first; both have ASCII names.
const char* const CAPTION_FACES[] = {"Meiryo UI", "MS UI Gothic"};

HFONT CreateFaceFont(int height, DWORD quality, const char* face) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH | FF_DONTCARE, face);
}

// The first interface font the system has by its own name; else the one its
// font mapper picks for Japanese text; else the GUI font at the height.
HFONT CreateCaptionFont(HDC dc, int height, DWORD quality) {
    for (const char* face : CAPTION_FACES) {
        HFONT font = CreateFaceFont(height, quality, face);
        if (font == nullptr) {
            continue;
        }
        char chosen[LF_FACESIZE] = {};
        {
            ScopedSelection selection(dc, font);
            GetTextFaceA(dc, LF_FACESIZE, chosen);
        }
        if (lstrcmpiA(chosen, face) == 0) {
            return font;
        }
        DeleteObject(font);
    }
    HFONT font = CreateFaceFont(height, quality, "");
    if (font != nullptr) {
        return font;
    }
    LOGFONTA gui = {};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui) == 0) {
        return nullptr;
    }
    gui.lfHeight = height;
    gui.lfQuality = static_cast<BYTE>(quality);
    return CreateFontIndirectA(&gui);
}

class DcTextMeasure : public TextMeasure {
public:
    explicit DcTextMeasure(HDC dc) : dc_(dc) {}

    int Width(const char16_t* text, size_t length) override {
        SIZE size = {};
        if (!GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text), static_cast<int>(length), &size)) {
            return INT_MAX;
        }
        return size.cx;
    }

private:
    HDC dc_;
};

bool ToTrueColor(BitmapBuffer& picture) {
    BitmapBuffer copy;
    if (!copy.Create(picture.Width(), picture.Height(), TRUE_COLOR_DEPTH, RGB(0, 0, 0)) ||
        !picture.DrawScaled(copy.Dc(), 1.0, SRCCOPY)) {
        return false;
    }
    GdiFlush();
    picture.TakeFrom(copy);
    return true;
}

// The pixel row y (counted from the top) of a bottom-up image.
BYTE* RowOf(const BitmapBuffer& picture, int y) {
    return picture.Bits() + static_cast<size_t>(picture.Height() - 1 - y) * picture.Stride();
}

void DrawOutlined(HDC dc, int x, int y, int outline, const char16_t* text, size_t length, COLORREF outlineColor,
                  COLORREF textColor) {
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text);
    const UINT count = static_cast<UINT>(length);
    SetTextColor(dc, outlineColor);
    for (int dy = -outline; dy <= outline; dy += outline) {
        for (int dx = -outline; dx <= outline; dx += outline) {
            if (dx != 0 || dy != 0) {
                ExtTextOutW(dc, x + dx, y + dy, 0, nullptr, wide, count, nullptr);
            }
        }
    }
    SetTextColor(dc, textColor);
    ExtTextOutW(dc, x, y, 0, nullptr, wide, count, nullptr);
}

// Where a caption drawn into the band of the picture from row top on covers
// it: the same text drawn all in white over black into a buffer of the band.
bool CoverageOf(BitmapBuffer& coverage, int width, int top, int bottom, HFONT font, int x, int y, int outline,
                const char16_t* text, size_t length) {
    if (!coverage.Create(width, bottom - top, TRUE_COLOR_DEPTH, RGB(0, 0, 0))) {
        return false;
    }
    HDC dc = coverage.Dc();
    ScopedSavedDc saved(dc);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    DrawOutlined(dc, x, y - top, outline, text, length, TEXT_COLOR, TEXT_COLOR);
    GdiFlush();
    return true;
}

// Every pixel of the caption in the transparent colour is moved one step of
// blue off it; the picture's own pixels around the letters keep their
// colour, transparent or not.
void KeepColorFree(const BitmapBuffer& picture, int top, const BitmapBuffer& coverage, COLORREF color) {
    const size_t bytesPerPixel = picture.BitCount() / 8;
    for (int row = 0; row < coverage.Height(); ++row) {
        BYTE* pixel = RowOf(picture, top + row);
        const BYTE* covered = RowOf(coverage, row);
        for (int x = 0; x < picture.Width(); ++x, pixel += bytesPerPixel, covered += 3) {
            if ((covered[0] | covered[1] | covered[2]) != 0 && pixel[0] == GetBValue(color) &&
                pixel[1] == GetGValue(color) && pixel[2] == GetRValue(color)) {
                pixel[0] ^= 1;
            }
        }
    }
}

}  // namespace

bool StampCaption(BitmapBuffer& picture, const char16_t* text, size_t length, double dpiScale,
                  const COLORREF* transparentColor) {
    CaptionBox box = {};
    if (text == nullptr || length == 0 || length >= CAPTION_TEXT_CAPACITY || picture.Dc() == nullptr ||
        !CaptionBoxFor(picture.Width(), picture.Height(), dpiScale, &box)) {
        return false;
    }
    if (picture.BitCount() != 24 && picture.BitCount() != 32 && !ToTrueColor(picture)) {
        return false;
    }
    HDC dc = picture.Dc();
    // Smoothed edges would mix the transparent colour into the letters where
    // they lie over a transparent part, and fringe them with it.
    ScopedGdiObject<HFONT> font(
        CreateCaptionFont(dc, box.textHeight, transparentColor != nullptr ? NONANTIALIASED_QUALITY : ANTIALIASED_QUALITY));
    if (font.Get() == nullptr) {
        return false;
    }
    ScopedSavedDc saved(dc);
    SelectObject(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);

    const int outline = box.textHeight / OUTLINE_SHARE > 1 ? box.textHeight / OUTLINE_SHARE : 1;
    DcTextMeasure measure(dc);
    char16_t fitted[CAPTION_TEXT_CAPACITY + 1];
    const size_t drawn = FitCaption(text, length, picture.Width() - 2 * (box.margin + outline), measure, fitted);
    TEXTMETRICA metrics = {};
    if (drawn == 0 || !GetTextMetricsA(dc, &metrics)) {
        return false;
    }
    const int x = box.margin + outline;
    const int y = picture.Height() - box.margin - outline - metrics.tmHeight;
    // The band of rows the caption covers, found before it is drawn where
    // it must keep off the transparent colour.
    const int top = y - outline > 0 ? y - outline : 0;
    const int bottom = picture.Height() - box.margin;
    BitmapBuffer coverage;
    if (transparentColor != nullptr &&
        !CoverageOf(coverage, picture.Width(), top, bottom, font.Get(), x, y, outline, fitted, drawn)) {
        return false;
    }
    DrawOutlined(dc, x, y, outline, fitted, drawn, OUTLINE_COLOR, TEXT_COLOR);
    GdiFlush();
    if (transparentColor != nullptr) {
        KeepColorFree(picture, top, coverage, *transparentColor);
    }
    return true;
}
