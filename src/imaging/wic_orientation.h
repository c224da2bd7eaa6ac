// The orientation of a picture the imaging component opened, read from the
// metadata its decoder reports for the frame: the EXIF orientation of a JPEG
// or TIFF, the XMP one where there is no EXIF tag, the container's own
// rotation for HEIF.
#pragma once

#include "imaging/exif_orientation.h"

struct IWICBitmapFrameDecode;

// How frame's stored pixels must be turned to show it upright. Where the
// decoder reports no orientation (a decoder without metadata, or one that
// does not read the JPEG's EXIF block, as Wine's does not), the file at path
// is read itself for a JPEG EXIF block; as stored when that finds none.
ExifOrientation FrameOrientation(IWICBitmapFrameDecode* frame, const wchar_t* path);
