#include "imaging/exif_orientation.h"

#include <cstring>

namespace {

// Marker codes; a marker is 0xFF followed by its code.
constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kApp1 = 0xE1;
// From here to kStartOfScan: the restart markers, the start and end of the
// image, which carry no length, and then the image data itself.
constexpr uint8_t kFirstRestart = 0xD0;
constexpr uint8_t kStartOfScan = 0xDA;
// Codes below this carry no length or are reserved; 0x00 follows a 0xFF byte
// only inside the compressed data.
constexpr uint8_t kFirstSegmentCode = 0xC0;
constexpr size_t kSegmentLengthSize = 2;

constexpr uint8_t kExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};

constexpr size_t kTiffHeaderSize = 8;
constexpr uint16_t kTiffMagic = 42;
constexpr size_t kIfdCountSize = 2;
constexpr size_t kIfdEntrySize = 12;  // tag, type, count, value or offset
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;

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
    if (size < kTiffHeaderSize) {
        return ExifOrientation::kAsStored;
    }
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else if (tiff[0] != 'I' || tiff[1] != 'I') {
        return ExifOrientation::kAsStored;
    }
    const TiffNumbers numbers(tiff, bigEndian);
    if (numbers.U16(2) != kTiffMagic) {
        return ExifOrientation::kAsStored;
    }

    // Written as subtractions from size, so that no offset from the file can
    // wrap round, even where size_t has 32 bits.
    const uint32_t ifd = numbers.U32(4);
    if (ifd > size || size - ifd < kIfdCountSize) {
        return ExifOrientation::kAsStored;
    }
    const uint16_t count = numbers.U16(ifd);
    const size_t entries = ifd + kIfdCountSize;
    if (count > (size - entries) / kIfdEntrySize) {
        return ExifOrientation::kAsStored;
    }
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = entries + i * kIfdEntrySize;
        if (numbers.U16(entry) != kOrientationTag) {
            continue;
        }
        // A SHORT value sits in the first two bytes of the value field.
        const uint16_t value = numbers.U16(entry + 8);
        if (numbers.U16(entry + 2) != kTypeShort || numbers.U32(entry + 4) != 1 ||
            value < static_cast<uint16_t>(ExifOrientation::kAsStored) ||
            value > static_cast<uint16_t>(ExifOrientation::kTurnAnticlockwise)) {
            return ExifOrientation::kAsStored;
        }
        return static_cast<ExifOrientation>(value);
    }
    return ExifOrientation::kAsStored;
}

bool IsSegmentBeforeImageData(uint8_t code) {
    return code >= kFirstSegmentCode && (code < kFirstRestart || code > kStartOfScan);
}

// How much of a marker is read at once: its prefix, a few fill bytes, its
// code and the segment's length.
constexpr size_t kMarkerWindow = 16;

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
    if (got < 2 || start[0] != kMarkerPrefix || start[1] != kStartOfImage) {
        return ExifOrientation::kAsStored;
    }
    uint64_t at = 2;
    for (;;) {
        const uint8_t* marker = source.Read(at, kMarkerWindow, &got);
        if (got == 0 || marker[0] != kMarkerPrefix) {
            return ExifOrientation::kAsStored;
        }
        // Any number of 0xFF fill bytes may stand before a marker's code.
        size_t code = 1;
        while (code < got && marker[code] == kMarkerPrefix) {
            ++code;
        }
        if (got - code < 1 + kSegmentLengthSize) {
            if (got < kMarkerWindow) {
                return ExifOrientation::kAsStored;  // the file ends inside the marker
            }
            // Fill bytes run past the window (code > 1 here): read on from the last of them.
            at += code - 1;
            continue;
        }
        if (!IsSegmentBeforeImageData(marker[code])) {
            return ExifOrientation::kAsStored;
        }
        const bool app1 = marker[code] == kApp1;
        const size_t length = static_cast<size_t>(marker[code + 1] << 8 | marker[code + 2]);  // counts its own two bytes
        if (length < kSegmentLengthSize) {
            return ExifOrientation::kAsStored;
        }
        const uint64_t body = at + code + 1 + kSegmentLengthSize;
        const size_t bodySize = length - kSegmentLengthSize;
        if (app1) {
            const uint8_t* signature = source.Read(body, sizeof kExifSignature, &got);
            if (got == sizeof kExifSignature &&
                std::memcmp(signature, kExifSignature, sizeof kExifSignature) == 0) {
                // The first EXIF block decides, even when it is damaged. A
                // block cut short by the end of the file is read as far as it
                // goes: its orientation sits near the start, before the
                // thumbnail.
                const uint8_t* block = source.Read(body, bodySize, &got);
                if (got < sizeof kExifSignature) {
                    return ExifOrientation::kAsStored;
                }
                return ReadTiffOrientation(block + sizeof kExifSignature, got - sizeof kExifSignature);
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
