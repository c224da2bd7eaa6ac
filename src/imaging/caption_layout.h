// Where a caption sits in a picture and how much of it is drawn: its text
// height follows the picture's, and text wider than the picture is cut with
// an ellipsis. No Win32 here.
#pragma once

#include <cstddef>

struct CaptionBox {
    int textHeight;  // of the font's cell, in the picture's pixels
    int margin;      // from the picture's left and bottom edges
};

// The caption's size in a picture of width x height shown at dpiScale (1.0
// at 96 DPI): a twentieth of the height, at least 11 and at most 32 pixels
// at 96 DPI. False when the picture is too small to hold the caption at its
// least size: that caption with its margins would cover more than a sixth of
// either side.
bool CaptionBoxFor(int width, int height, double dpiScale, CaptionBox* box);

// How wide text is drawn: the caller's font.
class TextMeasure {
public:
    virtual int Width(const char16_t* text, size_t length) = 0;

protected:
    ~TextMeasure() = default;
};

// Writes into fitted (room for length + 2 characters) the text as drawn
// within maxWidth and returns its length: the whole text when it fits, else
// its longest start that fits with an ellipsis after it (never half of a
// surrogate pair, no space before the ellipsis); 0 when not even the
// ellipsis fits.
size_t FitCaption(const char16_t* text, size_t length, int maxWidth, TextMeasure& measure, char16_t* fitted);
