// The day a picture the imaging component opened was taken, from the
// metadata its decoder reports for the frame: the EXIF dates of a JPEG or
// TIFF (and of HEIF, PNG and others whose decoders expose an EXIF block),
// else the system's photo property that gathers them from XMP and IPTC.
#pragma once

#include "imaging/exif_date.h"

struct IWICBitmapFrameDecode;

// False when the decoder reports no sound date, as Wine's JPEG decoder, which
// does not read the EXIF block, never does.
bool FrameDateTaken(IWICBitmapFrameDecode* frame, CalendarDate* date);
