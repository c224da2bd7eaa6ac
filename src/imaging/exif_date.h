// The day a photo was taken, as its EXIF block records it: the moment the
// picture was taken (DateTimeOriginal) or digitised (DateTimeDigitized) in
// the Exif directory, else the file's DateTime in IFD0. Each is text such as
// "2023:08:12 14:03:59". No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/jpeg_exif_block.h"

struct CalendarDate {
    int year;
    int month;  // 1..12
    int day;    // 1..31
};

// A date from the first length characters of EXIF date text: four digits of
// year, two of month and two of day, each pair parted by ':' (or '-', '/'),
// whatever follows. False for anything else, for the blanks or zeros a
// camera writes when it knows no date, and for a day its month does not have.
bool ParseExifDate(const char* text, size_t length, CalendarDate* date);

// The first sound date of the three tags in a TIFF block of size bytes.
// False when there is none. Never reads outside the bytes.
bool ReadTiffDateTaken(const uint8_t* tiff, size_t size, CalendarDate* date);

// The same from the EXIF block of the JPEG file source reads (the first APP1
// "Exif" segment, however far into the file it lies).
bool ReadJpegDateTaken(JpegByteSource& source, CalendarDate* date);
// ... and from a JPEG file's first size bytes in memory.
bool ReadJpegDateTaken(const uint8_t* bytes, size_t size, CalendarDate* date);
