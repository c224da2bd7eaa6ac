#include "imaging/exif_orientation.h"

#include "imaging/tiff_directory.h"

namespace {

constexpr uint16_t ORIENTATION_TAG = 0x0112;

// The orientation entry of IFD0 in a TIFF block of size bytes. IFD1, which
// describes the thumbnail, is never looked at.
ExifOrientation ReadTiffOrientation(const uint8_t* tiff, size_t size) {
    TiffBlock block;
    TiffEntry entry = {};
    if (!block.Open(tiff, size) || !block.FindEntry(block.FirstDirectory(), ORIENTATION_TAG, &entry)) {
        return ExifOrientation::kAsStored;
    }
    // A SHORT value sits in the first two bytes of the value field.
    const uint16_t value = block.U16(entry.valueField);
    if (entry.type != TIFF_TYPE_SHORT || entry.count != 1 ||
        value < static_cast<uint16_t>(ExifOrientation::kAsStored) ||
        value > static_cast<uint16_t>(ExifOrientation::kTurnAnticlockwise)) {
        return ExifOrientation::kAsStored;
    }
    return static_cast<ExifOrientation>(value);
}

}  // namespace

ExifOrientation ReadJpegOrientation(JpegByteSource& source) {
    // A block cut short by the end of the file is read as far as it goes:
    // its orientation sits near the start, before the thumbnail.
    size_t size = 0;
    const uint8_t* tiff = FindJpegExifBlock(source, &size);
    return ReadTiffOrientation(tiff, size);
}

ExifOrientation ReadJpegOrientation(const uint8_t* bytes, size_t size) {
    size_t blockSize = 0;
    const uint8_t* tiff = FindJpegExifBlock(bytes, size, &blockSize);
    return ReadTiffOrientation(tiff, blockSize);
}
