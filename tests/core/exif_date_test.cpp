#include "imaging/exif_date.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Dates {
    const char* original;   // 0x9003, in the Exif directory
    const char* digitized;  // 0x9004, in the Exif directory
    const char* dateTime;   // 0x0132, in IFD0
};

// A TIFF block: IFD0 at 8 (DateTime when given, then the Exif directory's
// offset), the Exif directory after it, then each text in 20 bytes.
Bytes Tiff(bool big, const Dates& d) {
    std::vector<std::pair<uint16_t, const char*>> ifd0, exif;
    if (d.dateTime != nullptr) ifd0.push_back({0x0132, d.dateTime});
    if (d.original != nullptr) exif.push_back({0x9003, d.original});
    if (d.digitized != nullptr) exif.push_back({0x9004, d.digitized});
    Bytes b = big ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
    auto u16 = [&](uint32_t v) {
        const uint8_t hi = static_cast<uint8_t>(v >> 8), lo = static_cast<uint8_t>(v);
        b.push_back(big ? hi : lo), b.push_back(big ? lo : hi);
    };
    auto u32 = [&](uint32_t v) { big ? (u16(v >> 16), u16(v & 0xFFFF)) : (u16(v & 0xFFFF), u16(v >> 16)); };
    const uint32_t exifAt = static_cast<uint32_t>(8 + 2 + 12 * (ifd0.size() + 1) + 4);
    uint32_t textAt = static_cast<uint32_t>(exifAt + 2 + 12 * exif.size() + 4);
    std::vector<const char*> texts;
    auto entries = [&](const std::vector<std::pair<uint16_t, const char*>>& list) {
        for (const auto& e : list) {
            u16(e.first), u16(2), u32(20), u32(textAt);
            textAt += 20;
            texts.push_back(e.second);
        }
    };
    u16(42), u32(8), u16(static_cast<uint32_t>(ifd0.size() + 1));
    entries(ifd0);
    u16(0x8769), u16(4), u32(1), u32(exifAt), u32(0);
    u16(static_cast<uint32_t>(exif.size()));
    entries(exif);
    u32(0);
    for (const char* t : texts) {
        Bytes text(20, 0);
        std::memcpy(text.data(), t, std::min<size_t>(std::strlen(t), 19));
        b.insert(b.end(), text.begin(), text.end());
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
        Dates dates;
        const char* expected;
    } cases[] = {
        {{"2023:08:12 14:03:59", "2023:08:13 09:00:00", "2024:01:02 10:00:00"}, "2023-8-12"},
        {{kBlank, "2023:08:13 09:00:00", "2024:01:02 10:00:00"}, "2023-8-13"},
        {{nullptr, nullptr, "2024:01:02 10:00:00"}, "2024-1-2"},
        {{"0000:00:00 00:00:00", "2023:02:29 00:00:00", "2024-02-29"}, "2024-2-29"},
        {{"2023:13:01 00:00:00", "20230812", "1999:12:03 junk\x7f"}, "1999-12-3"},
        {{"2O23:08:12", kBlank, "2023:04:31 00:00:00"}, ""},
        {{nullptr, nullptr, nullptr}, ""},
    };
    for (bool big : {false, true}) {
        for (const auto& c : cases) {
            EXPECT_EQ(Read(Jpeg(Tiff(big, c.dates))), c.expected) << (big ? "MM " : "II ") << c.expected;
        }
    }
    EXPECT_EQ(Read(Bytes{0xFF, 0xD8, 0xFF, 0xD9}), "");
}

TEST(ExifDate, DamagedBlocksGiveNoDateAndNothingIsReadOutsideTheBytes) {
    const Bytes sound = Tiff(false, {"2023:08:12 14:03:59", nullptr, nullptr});
    ASSERT_EQ(Read(Jpeg(sound)), "2023-8-12");
    const struct {
        size_t at;
        Bytes bytes;
        const char* what;
    } damages[] = {
        {2, {43}, "not a TIFF header"},
        {18, {0xFF, 0xFF, 0xFF, 0xFF}, "the Exif directory far past the block"},
        {18, {static_cast<uint8_t>(sound.size() - 1), 0, 0, 0}, "the Exif directory at the last byte"},
        {14, {2, 0}, "the Exif directory's offset given as ASCII"},
        {30, {7, 0}, "the date given as UNDEFINED"},
        {32, {9, 0, 0, 0}, "a date of nine characters"},
        {36, {0xF0, 0xFF, 0xFF, 0xFF}, "the date's text far past the block"},
        {36, {static_cast<uint8_t>(sound.size() - 9), 0, 0, 0}, "the date's text ending past the block"},
    };
    for (const auto& damage : damages) {
        Bytes damaged = sound;
        std::copy(damage.bytes.begin(), damage.bytes.end(), damaged.begin() + static_cast<ptrdiff_t>(damage.at));
        EXPECT_EQ(Read(Jpeg(damaged)), "") << damage.what;
    }
    const Bytes file = Jpeg(Tiff(true, {"2023:08:12 14:03:59", "2023:08:13 09:00:00", "2024:01:02 10:00:00"}));
    for (size_t size = 0; size < file.size(); ++size) {
        Read(file, size);
    }
}

}  // namespace
