// Picture files written by tests: uncompressed 24-bit .bmp files.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The bytes of a width x height 24-bit .bmp file whose pixel (x, y), y from the
// top, has the colour colorAt(x, y) (0x00BBGGRR).
std::string Bmp24(int width, int height, const std::function<COLORREF(int x, int y)>& colorAt);

// The same, every pixel one colour.
std::string SolidBmp24(int width, int height, COLORREF color);
