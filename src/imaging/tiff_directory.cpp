#include "imaging/tiff_directory.h"

namespace {

constexpr size_t TIFF_HEADER_SIZE = 8;
constexpr uint16_t TIFF_MAGIC = 42;
constexpr size_t IFD_COUNT_SIZE = 2;
constexpr size_t IFD_ENTRY_SIZE = 12;  // tag, type, count, value or offset
constexpr size_t VALUE_FIELD_SIZE = 4;
constexpr size_t VALUE_FIELD_AT = 8;   // within an entry

}  // namespace

bool TiffBlock::Open(const uint8_t* bytes, size_t size) {
    bytes_ = nullptr;
    size_ = 0;
    if (bytes == nullptr || size < TIFF_HEADER_SIZE) {
        return false;
    }
    if (bytes[0] == 'M' && bytes[1] == 'M') {
        bigEndian_ = true;
    } else if (bytes[0] == 'I' && bytes[1] == 'I') {
        bigEndian_ = false;
    } else {
        return false;
    }
    bytes_ = bytes;
    size_ = size;
    if (U16(2) != TIFF_MAGIC) {
        bytes_ = nullptr;
        size_ = 0;
        return false;
    }
    return true;
}

bool TiffBlock::FindEntry(uint32_t directory, uint16_t tag, TiffEntry* entry) const {
    // Written as subtractions from size, so that no offset from the file can
    // wrap round, even where size_t has 32 bits.
    if (bytes_ == nullptr || directory > size_ || size_ - directory < IFD_COUNT_SIZE) {
        return false;
    }
    const uint16_t count = U16(directory);
    const size_t entries = directory + IFD_COUNT_SIZE;
    if (count > (size_ - entries) / IFD_ENTRY_SIZE) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        const size_t at = entries + i * IFD_ENTRY_SIZE;
        if (U16(at) == tag) {
            *entry = TiffEntry{U16(at + 2), U32(at + 4), at + VALUE_FIELD_AT};
            return true;
        }
    }
    return false;
}

const uint8_t* TiffBlock::ValueBytes(const TiffEntry& entry, size_t byteCount) const {
    if (byteCount <= VALUE_FIELD_SIZE) {
        return bytes_ + entry.valueField;
    }
    const uint32_t offset = U32(entry.valueField);
    if (offset > size_ || size_ - offset < byteCount) {
        return nullptr;
    }
    return bytes_ + offset;
}

uint16_t TiffBlock::U16(size_t at) const {
    const uint8_t* p = bytes_ + at;
    return static_cast<uint16_t>(bigEndian_ ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8));
}

uint32_t TiffBlock::U32(size_t at) const {
    const uint32_t first = U16(at);
    const uint32_t second = U16(at + 2);
    return bigEndian_ ? (first << 16) | second : first | (second << 16);
}
