#include "imaging/exif_date.h"

#include "imaging/tiff_directory.h"

namespace {

constexpr uint16_t DATE_TIME_TAG = 0x0132;            // IFD0: when the file was last changed
constexpr uint16_t EXIF_DIRECTORY_TAG = 0x8769;       // IFD0: where the Exif directory lies
constexpr uint16_t DATE_TIME_ORIGINAL_TAG = 0x9003;   // Exif: when the picture was taken
constexpr uint16_t DATE_TIME_DIGITIZED_TAG = 0x9004;  // Exif: when it was stored

// "YYYY:MM:DD": the part of the text that names the day.
constexpr size_t DATE_TEXT_LENGTH = 10;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsDateSeparator(char c) { return c == ':' || c == '-' || c == '/'; }

int Digits(const char* text, size_t count) {
    int value = 0;
    for (size_t i = 0; i < count; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

int DaysInMonth(int year, int month) {
    static const int DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : DAYS[month - 1];
}

// The date of an ASCII entry, when it is one.
bool EntryDate(const TiffBlock& block, uint32_t directory, uint16_t tag, CalendarDate* date) {
    TiffEntry entry = {};
    if (!block.FindEntry(directory, tag, &entry) || entry.type != TIFF_TYPE_ASCII ||
        entry.count < DATE_TEXT_LENGTH) {
        return false;
    }
    const uint8_t* text = block.ValueBytes(entry, DATE_TEXT_LENGTH);
    return text != nullptr && ParseExifDate(reinterpret_cast<const char*>(text), DATE_TEXT_LENGTH, date);
}

}  // namespace

bool ParseExifDate(const char* text, size_t length, CalendarDate* date) {
    if (text == nullptr || length < DATE_TEXT_LENGTH) {
        return false;
    }
    for (size_t i = 0; i < DATE_TEXT_LENGTH; ++i) {
        const bool separator = i == 4 || i == 7;
        if (separator ? !IsDateSeparator(text[i]) : !IsDigit(text[i])) {
            return false;
        }
    }
    const CalendarDate read = {Digits(text, 4), Digits(text + 5, 2), Digits(text + 8, 2)};
    if (read.year == 0 || read.month < 1 || read.month > 12 || read.day < 1 ||
        read.day > DaysInMonth(read.year, read.month)) {
        return false;
    }
    *date = read;
    return true;
}

bool ReadTiffDateTaken(const uint8_t* tiff, size_t size, CalendarDate* date) {
    TiffBlock block;
    if (!block.Open(tiff, size)) {
        return false;
    }
    const uint32_t ifd0 = block.FirstDirectory();
    TiffEntry exif = {};
    if (block.FindEntry(ifd0, EXIF_DIRECTORY_TAG, &exif) && exif.count == 1 &&
        (exif.type == TIFF_TYPE_LONG || exif.type == TIFF_TYPE_SHORT)) {
        const uint32_t directory = exif.type == TIFF_TYPE_LONG ? block.U32(exif.valueField) : block.U16(exif.valueField);
        if (EntryDate(block, directory, DATE_TIME_ORIGINAL_TAG, date) ||
            EntryDate(block, directory, DATE_TIME_DIGITIZED_TAG, date)) {
            return true;
        }
    }
    return EntryDate(block, ifd0, DATE_TIME_TAG, date);
}

bool ReadJpegDateTaken(JpegByteSource& source, CalendarDate* date) {
    size_t size = 0;
    const uint8_t* tiff = FindJpegExifBlock(source, &size);
    return ReadTiffDateTaken(tiff, size, date);
}

bool ReadJpegDateTaken(const uint8_t* bytes, size_t size, CalendarDate* date) {
    size_t blockSize = 0;
    const uint8_t* tiff = FindJpegExifBlock(bytes, size, &blockSize);
    return ReadTiffDateTaken(tiff, blockSize, date);
}
