// Arbitrary bytes as a JPEG file: the orientation and date readers must never
// read outside them; the orientation is always one of the eight, and both
// answer the same whether they have the file in memory or read it piece by
// piece.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "imaging/exif_date.h"
#include "imaging/exif_orientation.h"

namespace {

// Hands each read over as an exactly sized heap copy, so that any read past
// what was asked for is a sanitizer report.
class CopyingSource : public JpegByteSource {
public:
    CopyingSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    ~CopyingSource() { std::free(copy_); }

    const uint8_t* Read(uint64_t offset, size_t size, size_t* got) override {
        if (size > LARGEST_READ) {
            std::abort();
        }
        std::free(copy_);
        *got = offset < size_ ? (size < size_ - offset ? size : static_cast<size_t>(size_ - offset)) : 0;
        copy_ = static_cast<uint8_t*>(std::malloc(*got != 0 ? *got : 1));
        if (copy_ == nullptr) {
            std::abort();
        }
        if (*got != 0) {
            std::memcpy(copy_, data_ + offset, *got);
        }
        return copy_;
    }

private:
    const uint8_t* data_;
    size_t size_;
    uint8_t* copy_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // libFuzzer hands over an exactly sized heap copy, so any read past it is
    // a sanitizer report.
    const ExifOrientation orientation = ReadJpegOrientation(data, size);
    if (orientation < ExifOrientation::kAsStored || orientation > ExifOrientation::kTurnAnticlockwise) {
        std::abort();
    }
    CopyingSource source(data, size);
    if (ReadJpegOrientation(source) != orientation) {
        std::abort();
    }
    CalendarDate inMemory = {};
    CalendarDate pieceByPiece = {};
    const bool found = ReadJpegDateTaken(data, size, &inMemory);
    if (ReadJpegDateTaken(source, &pieceByPiece) != found ||
        (found && std::memcmp(&inMemory, &pieceByPiece, sizeof inMemory) != 0)) {
        std::abort();
    }
    return 0;
}
