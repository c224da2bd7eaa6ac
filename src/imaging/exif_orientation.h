// The orientation a camera records in a JPEG file's EXIF block: how the
// stored pixels must be turned or mirrored to show the photo upright. No
// Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/jpeg_exif_block.h"

// The eight values of the orientation tag, named for what turns the stored
// pixels upright.
enum class ExifOrientation : uint8_t {
    kAsStored = 1,
    kMirrorLeftRight = 2,
    kTurn180 = 3,
    kMirrorTopBottom = 4,
    kTranspose = 5,          // mirror along the top-left to bottom-right diagonal
    kTurnClockwise = 6,      // a quarter turn
    kTransverse = 7,         // mirror along the top-right to bottom-left diagonal
    kTurnAnticlockwise = 8,  // a quarter turn
};

// The orientation of IFD0 in the first APP1 "Exif" segment among the
// segments before the image data of the JPEG file source reads, however far
// into the file it lies. Only the markers, the first bytes of each APP1
// segment and the EXIF block itself are read. Anything that is not a JPEG
// with a sound EXIF block and a SHORT orientation of 1..8 gives kAsStored.
ExifOrientation ReadJpegOrientation(JpegByteSource& source);

// The orientation of IFD0 in the first APP1 "Exif" segment among the segments
// before the image data of a JPEG file. bytes holds the file's first size
// bytes (the whole file or a prefix of it: an EXIF block cut short by the
// prefix still counts when IFD0's entry table lies wholly inside it). Never
// reads outside those bytes. Anything that is not a JPEG with a sound EXIF
// block and a SHORT orientation of 1..8 gives kAsStored.
ExifOrientation ReadJpegOrientation(const uint8_t* bytes, size_t size);
