#include "imaging/caption_layout.h"

namespace {

// Text height as a share of the picture's height, and its bounds at 96 DPI.
constexpr int HEIGHT_SHARE = 20;
constexpr int LEAST_TEXT_HEIGHT = 11;
constexpr int LARGEST_TEXT_HEIGHT = 32;
// The least caption with its margins may cover this share of each side.
constexpr int LEAST_CAPTION_SHARE = 6;

constexpr char16_t ELLIPSIS = u'\u2026';
constexpr char16_t IDEOGRAPHIC_SPACE = u'\u3000';

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

int MarginFor(int textHeight) { return textHeight / 2; }

// The start of text kept before the ellipsis, cut back off half a pair and spaces.
size_t KeptStart(const char16_t* text, size_t kept) {
    if (kept > 0 && IsHighSurrogate(text[kept - 1])) {
        --kept;
    }
    while (kept > 0 && (text[kept - 1] == u' ' || text[kept - 1] == IDEOGRAPHIC_SPACE)) {
        --kept;
    }
    return kept;
}

size_t WithEllipsis(const char16_t* text, size_t kept, char16_t* fitted) {
    for (size_t i = 0; i < kept; ++i) {
        fitted[i] = text[i];
    }
    fitted[kept] = ELLIPSIS;
    fitted[kept + 1] = 0;
    return kept + 1;
}

}  // namespace

bool CaptionBoxFor(int width, int height, double dpiScale, CaptionBox* box) {
    const int least = static_cast<int>(LEAST_TEXT_HEIGHT * dpiScale);
    const int largest = static_cast<int>(LARGEST_TEXT_HEIGHT * dpiScale);
    const int leastCaption = least + 2 * MarginFor(least);
    if (least <= 0 || height / LEAST_CAPTION_SHARE < leastCaption || width / LEAST_CAPTION_SHARE < leastCaption) {
        return false;
    }
    int textHeight = height / HEIGHT_SHARE;
    textHeight = textHeight < least ? least : textHeight > largest ? largest : textHeight;
    *box = CaptionBox{textHeight, MarginFor(textHeight)};
    return true;
}

size_t FitCaption(const char16_t* text, size_t length, int maxWidth, TextMeasure& measure, char16_t* fitted) {
    if (measure.Width(text, length) <= maxWidth) {
        for (size_t i = 0; i < length; ++i) {
            fitted[i] = text[i];
        }
        fitted[length] = 0;
        return length;
    }
    // The widest start that fits with the ellipsis: widths grow with the start's length.
    size_t fits = 0;
    size_t tooLong = length;
    while (tooLong - fits > 1) {
        const size_t middle = fits + (tooLong - fits) / 2;
        const size_t drawn = WithEllipsis(text, KeptStart(text, middle), fitted);
        if (measure.Width(fitted, drawn) <= maxWidth) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    const size_t drawn = WithEllipsis(text, KeptStart(text, fits), fitted);
    if (measure.Width(fitted, drawn) > maxWidth) {
        fitted[0] = 0;
        return 0;
    }
    return drawn;
}
