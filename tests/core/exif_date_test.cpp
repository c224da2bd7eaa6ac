#include "imaging/exif_date.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A TIFF block of one layout: IFD0 at 8 holds DateTime and the Exif
// directory's offset (38); that directory holds DateTimeOriginal and
// DateTimeDigitized; their texts follow from 68, 20 bytes each. A null text
// leaves its tag out (an unknown tag stands in its place).
Bytes Tiff(bool big, const char* original, const char* digitized, const char* dateTime) {
    Bytes b = big ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
    auto u16 = [&](uint32_t v) {
        const uint8_t hi = static_cast<uint8_t>(v >> 8), lo = static_cast<uint8_t>(v);
        b.push_back(big ? hi : lo), b.push_back(big ? lo : hi);
    };
    auto u32 = [&](uint32_t v) { big ? (u16(v >> 16), u16(v & 0xFFFF)) : (u16(v & 0xFFFF), u16(v >> 16)); };
    auto text = [&](uint16_t tag, const char* t, uint32_t at) { u16(t ? tag : 0xABCD), u16(2), u32(20), u32(at); };
    u16(42), u32(8);
    u16(2), text(0x0132, dateTime, 68), u16(0x8769), u16(4), u32(1), u32(38), u32(0);
    u16(2), text(0x9003, original, 88), text(0x9004, digitized, 108), u32(0);
    for (const char* t : {dateTime, original, digitized}) {
        Bytes field(20, 0);
        std::memcpy(field.data(), t ? t : "", t ? std::min<size_t>(std::strlen(t), 19) : 0);
        b.insert(b.end(), field.begin(), field.end());
    }
    return b;
}

// A JPEG with the block as its APP1 "Exif" segment.
Bytes Jpeg(const Bytes& tiff) {
    const size_t length = tiff.size() + 8;
    Bytes file{0xFF, 0xD8, 0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length),
               'E', 'x', 'i', 'f', 0, 0};
    file.insert(file.end(), tiff.begin(), tiff.end());
    file.insert(file.end(), {0xFF, 0xDA, 0, 2, 0xFF, 0xD9});
    return file;
}

// "y-m-d" of what the reader found, "" for nothing; from an exactly sized
// copy of the file's first size bytes, so that the sanitizer build sees any
// read past them.
std::string Read(const Bytes& file, size_t size = SIZE_MAX) {
    const Bytes copy(file.begin(), file.begin() + static_cast<ptrdiff_t>(std::min(size, file.size())));
    CalendarDate date = {};
    if (!ReadJpegDateTaken(copy.data(), copy.size(), &date)) {
        return "";
    }
    return std::to_string(date.year) + "-" + std::to_string(date.month) + "-" + std::to_string(date.day);
}

const char kBlank[] = "    :  :     :  :  ";

TEST(ExifDate, TheFirstSoundOfTheThreeTagsInBothByteOrders) {
    const struct {
        const char *original, *digitized, *dateTime, *expected;
    } cases[] = {
        {"2023:08:12 14:03:59", "2023:08:13 09:00:00", "2024:01:02 10:00:00", "2023-8-12"},
        {kBlank, "2023:08:13 09:00:00", "2024:01:02 10:00:00", "2023-8-13"},
        {nullptr, nullptr, "2024:01:02 10:00:00", "2024-1-2"},
        {"0000:00:00 00:00:00", "2023:02:29 00:00:00", "2024-02-29", "2024-2-29"},
        {"2023:13:01 00:00:00", "20230812", "1999:12:03 junk\x7f", "1999-12-3"},
        {"2O23:08:12", kBlank, "2023:04:31 00:00:00", ""},
        {nullptr, nullptr, nullptr, ""},
    };
    for (bool big : {false, true}) {
        for (const auto& c : cases) {
            EXPECT_EQ(Read(Jpeg(Tiff(big, c.original, c.digitized, c.dateTime))), c.expected) << big << c.expected;
        }
    }
    EXPECT_EQ(Read(Bytes{0xFF, 0xD8, 0xFF, 0xD9}), "");
}

TEST(ExifDate, DamagedBlocksGiveNoDateAndNothingIsReadOutsideTheBytes) {
    const Bytes sound = Tiff(false, "2023:08:12 14:03:59", nullptr, nullptr);
    ASSERT_EQ(Read(Jpeg(sound)), "2023-8-12");
    const struct {
        size_t at;
        Bytes bytes;
        const char* what;
    } damages[] = {
        {2, {43}, "not a TIFF header"},
        {30, {0xFF, 0xFF, 0xFF, 0xFF}, "the Exif directory far past the block"},
        {30, {static_cast<uint8_t>(sound.size() - 1), 0, 0, 0}, "the Exif directory at the last byte"},
        {24, {2, 0}, "the Exif directory's offset given as ASCII"},
        {42, {7, 0}, "the date given as UNDEFINED"},
        {44, {9, 0, 0, 0}, "a date of nine characters"},
        {48, {0xF0, 0xFF, 0xFF, 0xFF}, "the date's text far past the block"},
        {48, {static_cast<uint8_t>(sound.size() - 9), 0, 0, 0}, "the date's text ending past the block"},
    };
    for (const auto& damage : damages) {
        Bytes damaged = sound;
        std::copy(damage.bytes.begin(), damage.bytes.end(), damaged.begin() + static_cast<ptrdiff_t>(damage.at));
        EXPECT_EQ(Read(Jpeg(damaged)), "") << damage.what;
    }
    const Bytes file = Jpeg(Tiff(true, "2023:08:12 14:03:59", "2023:08:13 09:00:00", "2024:01:02 10:00:00"));
    for (size_t size = 0; size < file.size(); ++size) {
        Read(file, size);
    }
}

}  // namespace
