// The TIFF layout an EXIF block is written in: a header naming the byte
// order, then directories (IFDs) of 12-byte entries, each a tag, a type, a
// count and a value or the offset of one. Every read is checked against the
// block's bytes, however its offsets are damaged. No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>

// Entry types this program reads.
constexpr uint16_t TIFF_TYPE_ASCII = 2;
constexpr uint16_t TIFF_TYPE_SHORT = 3;
constexpr uint16_t TIFF_TYPE_LONG = 4;

struct TiffEntry {
    uint16_t type;
    uint32_t count;
    size_t valueField;  // where in the block its 4-byte value or offset field lies
};

class TiffBlock {
public:
    // False when bytes do not start with a TIFF header in either byte order.
    bool Open(const uint8_t* bytes, size_t size);

    // Where the first directory (IFD0) lies, as the header says.
    uint32_t FirstDirectory() const { return U32(4); }

    // The first entry with tag in the directory at offset. False when there
    // is none, or when the directory's entry table does not lie wholly inside
    // the block.
    bool FindEntry(uint32_t directory, uint16_t tag, TiffEntry* entry) const;

    // Where the entry's first byteCount bytes lie: inside its value field
    // when they fit in 4 bytes, else at the offset the field holds. Null when
    // they would reach past the block.
    const uint8_t* ValueBytes(const TiffEntry& entry, size_t byteCount) const;

    // Numbers in the block's byte order; the caller checks that at + 2 (or
    // + 4) lies inside the block.
    uint16_t U16(size_t at) const;
    uint32_t U32(size_t at) const;

private:
    const uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
    bool bigEndian_ = false;
};
