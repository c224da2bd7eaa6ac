#include "imaging/exif_orientation.h"

#include <cstring>

namespace {

// Marker codes; a marker is 0xFF followed by its code.
constexpr uint8_t MARKER_PREFIX = 0xFF;
constexpr uint8_t START_OF_IMAGE = 0xD8;
constexpr uint8_t APP1 = 0xE1;
// From here to START_OF_SCAN: the restart markers, the start and end of the
// image, which carry no length, and then the image data itself.
constexpr uint8_t FIRST_RESTART = 0xD0;
constexpr uint8_t START_OF_SCAN = 0xDA;
// Codes below this carry no length or are reserved; 0x00 follows a 0xFF byte
// only inside the compressed data.
constexpr uint8_t FIRST_SEGMENT_CODE = 0xC0;
constexpr size_t SEGMENT_LENGTH_SIZE = 2;

constexpr uint8_t EXIF_SIGNATURE[6] = {'E', 'x', 'i', 'f', 0, 0};

constexpr size_t TIFF_HEADER_SIZE = 8;
constexpr uint16_t TIFF_MAGIC = 42;
constexpr size_t IFD_COUNT_SIZE = 2;
constexpr size_t IFD_ENTRY_SIZE = 12;  // tag, type, count, value or offset
constexpr uint16_t ORIENTATION_TAG = 0x0112;
constexpr uint16_t TYPE_SHORT = 3;

// Reads the TIFF block's numbers in its own byte order. The caller checks
// that the bytes lie inside the block.
class TiffNumbers {
public:
    TiffNumbers(const uint8_t* block, bool bigEndian) : block_(block), bigEndian_(bigEndian) {}

    uint16_t U16(size_t at) const {
        const uint8_t* p = block_ + at;
        return static_cast<uint16_t>(bigEndian_ ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8));
    }

    uint32_t U32(size_t at) const {
        const uint32_t first = U16(at);
        const uint32_t second = U16(at + 2);
        return bigEndian_ ? (first << 16) | second : first | (second << 16);
    }

private:
    const uint8_t* block_;
    bool bigEndian_;
};

// The orientation entry of IFD0 in a TIFF block of size bytes. IFD1, which
// describes the thumbnail, is never looked at.
ExifOrientation ReadTiffOrientation(const uint8_t* tiff, size_t size) {
    if (size < TIFF_HEADER_SIZE) {
        return ExifOrientation::kAsStored;
    }
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else if (tiff[0] != 'I' || tiff[1] != 'I') {
        return ExifOrientation::kAsStored;
    }
    const TiffNumbers numbers(tiff, bigEndian);
    if (numbers.U16(2) != TIFF_MAGIC) {
        return ExifOrientation::kAsStored;
    }

    // Written as subtractions from size, so that no offset from the file can
    // wrap round, even where size_t has 32 bits.
    const uint32_t ifd = numbers.U32(4);
    if (ifd > size || size - ifd < IFD_COUNT_SIZE) {
        return ExifOrientation::kAsStored;
    }
    const uint16_t count = numbers.U16(ifd);
    const size_t entries = ifd + IFD_COUNT_SIZE;
    if (count > (size - entries) / IFD_ENTRY_SIZE) {
        return ExifOrientation::kAsStored;
    }
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = entries + i * IFD_ENTRY_SIZE;
        if (numbers.U16(entry) != ORIENTATION_TAG) {
            continue;
        }
        // A SHORT value sits in the first two bytes of the value field.
        const uint16_t value = numbers.U16(entry + 8);
        if (numbers.U16(entry + 2) != TYPE_SHORT || numbers.U32(entry + 4) != 1 ||
            value < static_cast<uint16_t>(ExifOrientation::kAsStored) ||
            value > static_cast<uint16_t>(ExifOrientation::kTurnAnticlockwise)) {
            return ExifOrientation::kAsStored;
        }
        return static_cast<ExifOrientation>(value);
    }
    return ExifOrientation::kAsStored;
}

bool IsSegmentBeforeImageData(uint8_t code) {
    return code >= FIRST_SEGMENT_CODE && (code < FIRST_RESTART || code > START_OF_SCAN);
}

// How much of a marker is read at once: its prefix, a few fill bytes, its
// code and the segment's length.
constexpr size_t MARKER_WINDOW = 16;

// Bytes already in memory, read as a file.
class MemoryBytes : public JpegByteSource {
public:
    MemoryBytes(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    const uint8_t* Read(uint64_t offset, size_t size, size_t* got) override {
        if (offset >= size_) {
            *got = 0;
            return bytes_;
        }
        const size_t at = static_cast<size_t>(offset);
        *got = size < size_ - at ? size : size_ - at;
        return bytes_ + at;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
};

}  // namespace

ExifOrientation ReadJpegOrientation(JpegByteSource& source) {
    size_t got = 0;
    const uint8_t* start = source.Read(0, 2, &got);
    if (got < 2 || start[0] != MARKER_PREFIX || start[1] != START_OF_IMAGE) {
        return ExifOrientation::kAsStored;
    }
    uint64_t at = 2;
    for (;;) {
        const uint8_t* marker = source.Read(at, MARKER_WINDOW, &got);
        if (got == 0 || marker[0] != MARKER_PREFIX) {
            return ExifOrientation::kAsStored;
        }
        // Any number of 0xFF fill bytes may stand before a marker's code.
        size_t code = 1;
        while (code < got && marker[code] == MARKER_PREFIX) {
            ++code;
        }
        if (got - code < 1 + SEGMENT_LENGTH_SIZE) {
            if (got < MARKER_WINDOW) {
                return ExifOrientation::kAsStored;  // the file ends inside the marker
            }
            // Fill bytes run past the window (code > 1 here): read on from the last of them.
            at += code - 1;
            continue;
        }
        if (!IsSegmentBeforeImageData(marker[code])) {
            return ExifOrientation::kAsStored;
        }
        const bool app1 = marker[code] == APP1;
        const size_t length = static_cast<size_t>(marker[code + 1] << 8 | marker[code + 2]);  // counts its own two bytes
        if (length < SEGMENT_LENGTH_SIZE) {
            return ExifOrientation::kAsStored;
        }
        const uint64_t body = at + code + 1 + SEGMENT_LENGTH_SIZE;
        const size_t bodySize = length - SEGMENT_LENGTH_SIZE;
        if (app1) {
            const uint8_t* signature = source.Read(body, sizeof EXIF_SIGNATURE, &got);
            if (got == sizeof EXIF_SIGNATURE &&
                std::memcmp(signature, EXIF_SIGNATURE, sizeof EXIF_SIGNATURE) == 0) {
                // The first EXIF block decides, even when it is damaged. A
                // block cut short by the end of the file is read as far as it
                // goes: its orientation sits near the start, before the
                // thumbnail.
                const uint8_t* block = source.Read(body, bodySize, &got);
                if (got < sizeof EXIF_SIGNATURE) {
                    return ExifOrientation::kAsStored;
                }
                return ReadTiffOrientation(block + sizeof EXIF_SIGNATURE, got - sizeof EXIF_SIGNATURE);
            }
        }
        at = body + bodySize;
    }
}

ExifOrientation ReadJpegOrientation(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr) {
        return ExifOrientation::kAsStored;
    }
    MemoryBytes source(bytes, size);
    return ReadJpegOrientation(source);
}
