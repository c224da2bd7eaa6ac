#include "imaging/jpeg_exif_block.h"

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

// How much of a marker is read at once: its prefix, a few fill bytes, its
// code and the segment's length.
constexpr size_t MARKER_WINDOW = 16;

bool IsSegmentBeforeImageData(uint8_t code) {
    return code >= FIRST_SEGMENT_CODE && (code < FIRST_RESTART || code > START_OF_SCAN);
}

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

const uint8_t* FindJpegExifBlock(JpegByteSource& source, size_t* size) {
    *size = 0;
    size_t got = 0;
    const uint8_t* start = source.Read(0, 2, &got);
    if (got < 2 || start[0] != MARKER_PREFIX || start[1] != START_OF_IMAGE) {
        return nullptr;
    }
    uint64_t at = 2;
    for (;;) {
        const uint8_t* marker = source.Read(at, MARKER_WINDOW, &got);
        if (got == 0 || marker[0] != MARKER_PREFIX) {
            return nullptr;
        }
        // Any number of 0xFF fill bytes may stand before a marker's code.
        size_t code = 1;
        while (code < got && marker[code] == MARKER_PREFIX) {
            ++code;
        }
        if (got - code < 1 + SEGMENT_LENGTH_SIZE) {
            if (got < MARKER_WINDOW) {
                return nullptr;  // the file ends inside the marker
            }
            // Fill bytes run past the window (code > 1 here): read on from the last of them.
            at += code - 1;
            continue;
        }
        if (!IsSegmentBeforeImageData(marker[code])) {
            return nullptr;
        }
        const bool app1 = marker[code] == APP1;
        const size_t length = static_cast<size_t>(marker[code + 1] << 8 | marker[code + 2]);  // counts its own two bytes
        if (length < SEGMENT_LENGTH_SIZE) {
            return nullptr;
        }
        const uint64_t body = at + code + 1 + SEGMENT_LENGTH_SIZE;
        const size_t bodySize = length - SEGMENT_LENGTH_SIZE;
        if (app1) {
            const uint8_t* signature = source.Read(body, sizeof EXIF_SIGNATURE, &got);
            if (got == sizeof EXIF_SIGNATURE &&
                std::memcmp(signature, EXIF_SIGNATURE, sizeof EXIF_SIGNATURE) == 0) {
                // The first EXIF block decides, even when it is damaged.
                const uint8_t* block = source.Read(body, bodySize, &got);
                if (got < sizeof EXIF_SIGNATURE) {
                    return nullptr;
                }
                *size = got - sizeof EXIF_SIGNATURE;
                return block + sizeof EXIF_SIGNATURE;
            }
        }
        at = body + bodySize;
    }
}

const uint8_t* FindJpegExifBlock(const uint8_t* bytes, size_t size, size_t* blockSize) {
    *blockSize = 0;
    if (bytes == nullptr) {
        return nullptr;
    }
    MemoryBytes source(bytes, size);
    return FindJpegExifBlock(source, blockSize);
}
