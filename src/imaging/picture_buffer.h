// Pictures from files the platform's picture service decodes (JPEG, bitmaps
// the .bmp reader refuses, icons), and the screen's own pixels.
#pragma once

#include <windows.h>

#include "imaging/bitmap_buffer.h"
#include "imaging/ole_picture.h"

// TRUE when the file's first three bytes are "GIF" in any letter case; the
// name plays no part.
BOOL IsGifFile(const wchar_t* path);

class PictureBuffer : public BitmapBuffer {
public:
    PictureBuffer() = default;
    ~PictureBuffer() override;

    // The picture type (PICTYPE_BITMAP or PICTYPE_ICON) on success, 0 on
    // failure (the buffer is then empty).
    WORD LoadPicture(const wchar_t* path, COLORREF fillColor);
    // A buffer of the picture's pixel size: with the picture's depth and
    // colours when it has a palette, else 24 bits; icons drawn over
    // fillColor. Metafiles and monochrome icons give 0.
    WORD CreateFromPicture(const OlePicture& picture, COLORREF fillColor);
};

class ScreenBuffer : public PictureBuffer {
public:
    ScreenBuffer() = default;
    ~ScreenBuffer() override;

    // Copies the rectangle of the window (NULL: the whole screen): at the
    // display's depth with the system palette on palette displays, else 24 bits.
    BOOL CaptureWindow(HWND window, int x, int y, int width, int height);
};
