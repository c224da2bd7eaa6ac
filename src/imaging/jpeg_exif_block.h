// Finding a JPEG file's EXIF block: the TIFF block inside the first APP1
// "Exif" segment. The block may lie behind other segments (ICC profiles, XMP
// packets) of up to 64 KB each, so the file is walked segment by segment up
// to it. No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>

// Where the segment walk reads a file. It asks for a few bytes at a time (a
// marker and its length) and for one segment's body at most.
class JpegByteSource {
public:
    // The most bytes one Read asks for: the largest segment body.
    static constexpr size_t LARGEST_READ = 0xFFFF;

    // Up to size bytes of the file from offset: returns where they are (valid
    // until the next Read) and sets *got to their count, which is below size
    // only at the end of the file, and 0 past it or when the file cannot be
    // read.
    virtual const uint8_t* Read(uint64_t offset, size_t size, size_t* got) = 0;

protected:
    ~JpegByteSource() = default;
};

// The TIFF block of the first APP1 "Exif" segment among the segments before
// the image data, with *size set to its bytes: valid until source's next
// Read. Only the markers, the first bytes of each APP1 segment and the block
// itself are read. A block cut short by the end of the file is given as far
// as it goes. Null when the file is no JPEG or has no such segment.
const uint8_t* FindJpegExifBlock(JpegByteSource& source, size_t* size);

// The same in a file's first size bytes in memory (the whole file or a
// prefix of it). Never reads outside them.
const uint8_t* FindJpegExifBlock(const uint8_t* bytes, size_t size, size_t* blockSize);
