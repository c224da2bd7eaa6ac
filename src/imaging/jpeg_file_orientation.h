// The EXIF orientation (and the date taken) of a JPEG file on disk, read
// segment by segment so that an EXIF block behind large colour profiles or
// XMP packets is found without reading the whole file.
#pragma once

#include "imaging/exif_date.h"
#include "imaging/exif_orientation.h"

// The orientation the file's EXIF block records; as stored when the file is
// no JPEG, has none, or cannot be read.
ExifOrientation ReadJpegFileOrientation(const wchar_t* path);

// The date taken the file's EXIF block records; false when the file is no
// JPEG, has none, or cannot be read.
bool ReadJpegFileDateTaken(const wchar_t* path, CalendarDate* date);
