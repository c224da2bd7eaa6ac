// Picture files written by tests: uncompressed 24-bit .bmp and .tif files, and JPEG,
// PNG or TIFF files encoded by the platform's imaging component.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The bytes of a width x height 24-bit .bmp file whose pixel (x, y), y from the
// top, has the colour colorAt(x, y) (0x00BBGGRR).
std::string Bmp24(int width, int height, const std::function<COLORREF(int x, int y)>& colorAt);

std::string SolidBmp24(int width, int height, COLORREF color);

// The bytes of an uncompressed width x height RGB .tif file whose pixel (x, y)
// has the colour colorAt(x, y), recording the orientation (1 to 8) in its
// first IFD.
std::string Tiff24(int width, int height, const std::function<COLORREF(int x, int y)>& colorAt, int orientation);

// Writes a file of width x height in the container format (a
// GUID_ContainerFormat... of the platform's imaging component) whose pixel
// (x, y) is colorAt(x, y), with the opacity alphaAt(x, y) when that is given.
// False when the platform has no such encoder.
bool WriteEncodedPicture(const std::string& path, const GUID& container, int width, int height,
                         const std::function<COLORREF(int x, int y)>& colorAt,
                         const std::function<BYTE(int x, int y)>& alphaAt = nullptr);

// Writes a JPEG file of width x height whose pixel (x, y) is colorAt(x, y)
// (as near as the encoder keeps it). With an orientation of 1 to 8, an EXIF
// block recording it comes first after the start marker. False when the
// platform has no JPEG encoder.
bool WriteJpeg(const std::string& path, int width, int height,
               const std::function<COLORREF(int x, int y)>& colorAt, int orientation = 0);
