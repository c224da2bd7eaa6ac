#include "imaging/exif_orientation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint16_t kShort = 3, kLong = 4, kRational = 5, kOrientation = 0x0112;

// A TIFF block in either byte order. IFD0 at offset 8 holds the orientation
// as the second of three entries (its type at byte 24, count at 26, value at
// 30); a thumbnail IFD1 with an orientation of its own follows when thumbnail
// is not 0.
Bytes Tiff(bool big, uint16_t orientation, uint16_t thumbnail = 0) {
    Bytes b = big ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
    auto u16 = [&](uint32_t v) {
        const uint8_t hi = static_cast<uint8_t>(v >> 8), lo = static_cast<uint8_t>(v);
        b.push_back(big ? hi : lo);
        b.push_back(big ? lo : hi);
    };
    auto u32 = [&](uint32_t v) {
        u16(big ? v >> 16 : v & 0xFFFF);
        u16(big ? v & 0xFFFF : v >> 16);
    };
    u16(42), u32(8), u16(3);  // IFD0 at 8, of three entries
    u16(0x0100), u16(kLong), u32(1), u32(640);
    u16(kOrientation), u16(kShort), u32(1), u16(orientation), u16(0);  // a SHORT fills the first half
    u16(0x011A), u16(kRational), u32(1), u32(80);
    u32(thumbnail != 0 ? 50 : 0);
    if (thumbnail != 0) {
        u16(1);
        u16(kOrientation), u16(kShort), u32(1), u16(thumbnail), u16(0);
        u32(0);
    }
    return b;
}

Bytes Segment(uint8_t code, const Bytes& body) {
    const size_t length = body.size() + 2;
    Bytes s = body;
    s.insert(s.begin(), {0xFF, code, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)});
    return s;
}

Bytes Exif(const Bytes& tiff) {
    Bytes body{'E', 'x', 'i', 'f', 0, 0};
    body.insert(body.end(), tiff.begin(), tiff.end());
    return Segment(0xE1, body);
}

const Bytes kJfif = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0});

// SOI, the segments, then the start of the scan, a few bytes of data and EOI.
Bytes Jpeg(const std::vector<Bytes>& segments) {
    Bytes file{0xFF, 0xD8};
    for (const Bytes& s : segments) {
        file.insert(file.end(), s.begin(), s.end());
    }
    const Bytes scan = Segment(0xDA, {1, 1, 0, 0, 63, 0});
    file.insert(file.end(), scan.begin(), scan.end());
    file.insert(file.end(), {0x12, 0x34, 0xFF, 0x00, 0x56, 0xFF, 0xD9});
    return file;
}

// Reads the first size bytes from an exactly sized copy, so that the
// sanitizer build sees any read past them.
int Read(const Bytes& file, size_t size = SIZE_MAX) {
    const Bytes copy(file.begin(), file.begin() + static_cast<ptrdiff_t>(std::min(size, file.size())));
    return static_cast<int>(ReadJpegOrientation(copy.data(), copy.size()));
}

TEST(ExifOrientation, ReadsEveryValueInBothByteOrdersFromIfd0) {
    for (bool big : {false, true}) {
        for (uint16_t v = 1; v <= 8; ++v) {
            // The thumbnail's own orientation differs and must not count.
            const Bytes tiff = Tiff(big, v, static_cast<uint16_t>(9 - v));
            EXPECT_EQ(Read(Jpeg({kJfif, Exif(tiff)})), v) << (big ? "MM " : "II ") << v;
        }
    }
}

TEST(ExifOrientation, SkipsOtherSegmentsAndOnlyTheFirstExifBlockCounts) {
    const Bytes xmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 0}), comment = Segment(0xFE, {'h', 'i'});
    const Bytes tables = Segment(0xDB, Bytes(65, 1));
    EXPECT_EQ(Read(Jpeg({kJfif, xmp, comment, tables, Exif(Tiff(true, 6))})), 6);

    Bytes filled = Jpeg({kJfif, Exif(Tiff(false, 8))});
    filled.insert(filled.begin() + 2 + static_cast<ptrdiff_t>(kJfif.size()), {0xFF, 0xFF});  // fill bytes
    EXPECT_EQ(Read(filled), 8);

    Bytes damaged = Tiff(false, 3);
    damaged[2] = 43;
    EXPECT_EQ(Read(Jpeg({Exif(damaged), Exif(Tiff(false, 3))})), 1);

    Bytes afterScan = Jpeg({kJfif});
    const Bytes late = Exif(Tiff(false, 6));
    const ptrdiff_t scanData = static_cast<ptrdiff_t>(2 + kJfif.size() + 10);
    afterScan.insert(afterScan.begin() + scanData, late.begin(), late.end());
    EXPECT_EQ(Read(afterScan), 1) << "nothing is read from the image data";
}

TEST(ExifOrientation, AbsentOrDamagedBlocksAndUnsoundValuesMeanAsStored) {
    EXPECT_EQ(ReadJpegOrientation(nullptr, 0), ExifOrientation::kAsStored);
    EXPECT_EQ(Read(Jpeg({kJfif})), 1);
    EXPECT_EQ(Read(Bytes{'B', 'M', 0xFF, 0xD8}), 1);

    const Bytes sound = Tiff(false, 6);
    ASSERT_EQ(Read(Jpeg({Exif(sound)})), 6);
    const uint32_t end = static_cast<uint32_t>(sound.size());
    const struct {
        size_t at;
        Bytes bytes;
        const char* what;
    } damages[] = {
        {1, {'M'}, "mixed byte order marks"},
        {2, {43}, "not a TIFF header"},
        {4, {static_cast<uint8_t>(end), 0, 0, 0}, "IFD0 just past the block"},
        {4, {0xFE, 0xFF, 0xFF, 0xFF}, "an IFD0 offset that wraps round to 0 when 2 is added in 32 bits"},
        {4, {0xFF, 0xFF, 0xFF, 0xFF}, "the largest IFD0 offset"},
        {8, {4, 0}, "one entry more than the block holds"},
        {8, {0xFF, 0xFF}, "the largest entry count"},
        {24, {kLong, 0}, "a LONG whose first bytes read as 6"},
        {26, {2, 0, 0, 0}, "a pair of SHORTs"},
        {30, {0, 0}, "the value 0"},
        {30, {9, 0}, "the value 9"},
    };
    for (const auto& damage : damages) {
        Bytes damaged = sound;
        std::copy(damage.bytes.begin(), damage.bytes.end(), damaged.begin() + static_cast<ptrdiff_t>(damage.at));
        EXPECT_EQ(Read(Jpeg({Exif(damaged)})), 1) << damage.what;
    }
}

// A file read through a source: each read is handed over as an exactly sized
// copy, so that the sanitizer build sees any read past what was asked for,
// and the bytes asked for are counted.
class CountingSource : public JpegByteSource {
public:
    explicit CountingSource(const Bytes& file) : file_(file) {}

    const uint8_t* Read(uint64_t offset, size_t size, size_t* got) override {
        const size_t at = static_cast<size_t>(std::min<uint64_t>(offset, file_.size()));
        EXPECT_LE(size, LARGEST_READ);
        copy_.assign(file_.begin() + static_cast<ptrdiff_t>(at),
                     file_.begin() + static_cast<ptrdiff_t>(std::min(file_.size(), at + size)));
        asked += size;
        *got = copy_.size();
        return copy_.data();
    }

    size_t asked = 0;

private:
    const Bytes& file_;
    Bytes copy_;
};

// Colour profiles and XMP packets of up to 64 KB each may come before the
// EXIF block; only the markers, the start of each APP1 and the block are read.
// (The first 64 KB hold none of the block.)
TEST(ExifOrientation, TheWalkReachesAnExifBlockBehindLargeSegmentsReadingLittleElse) {
    const Bytes icc = Segment(0xE2, Bytes(0xFFF0, 'c'));
    Bytes xmpBody{'h', 't', 't', 'p', ':', '/', '/', 0};
    xmpBody.resize(0xFFF0, 'x');
    const Bytes xmp = Segment(0xE1, xmpBody);
    Bytes exif = Exif(Tiff(false, 6));
    exif.insert(exif.begin(), 40, 0xFF);  // fill bytes longer than a marker is read at once
    const Bytes file = Jpeg({kJfif, icc, icc, xmp, exif});
    ASSERT_GT(file.size(), 3u * 0xFFF0);
    CountingSource source(file);
    EXPECT_EQ(ReadJpegOrientation(source), ExifOrientation::kTurnClockwise);
    EXPECT_LT(source.asked, exif.size() + 200) << "bytes asked for";
    EXPECT_EQ(Read(file), 6);
}

TEST(ExifOrientation, APrefixGivesTheValueOnceIfd0IsWhollyInsideIt) {
    const Bytes file = Jpeg({kJfif, Exif(Tiff(true, 6, 3))});
    const size_t ifd0End = 2 + kJfif.size() + 4 + 6 + 8 + 2 + 3 * 12;  // SOI, APP0, APP1 header, "Exif\0\0", IFD0
    for (size_t size = 0; size <= file.size(); ++size) {
        EXPECT_EQ(Read(file, size), size >= ifd0End ? 6 : 1) << size << " of " << file.size() << " bytes";
    }
}

}  // namespace
