// Arbitrary bytes as the start of a JPEG file: the orientation reader must
// never read outside them and always answer one of the eight orientations.
#include <cstdint>
#include <cstdlib>

#include "imaging/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // libFuzzer hands over an exactly sized heap copy, so any read past it is
    // a sanitizer report.
    const ExifOrientation orientation = ReadJpegOrientation(data, size);
    if (orientation < ExifOrientation::kAsStored || orientation > ExifOrientation::kTurnAnticlockwise) {
        std::abort();
    }
    return 0;
}
