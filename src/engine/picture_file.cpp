#include "engine/picture_file.h"

#include <windows.h>

#include "base/path_limits.h"
#include "base/paths.h"
#include "base/process_heap.h"
#include "engine/slide_placement.h"
#include "imaging/exif_orientation.h"
#include "imaging/gdi_guards.h"
#include "imaging/orientation_turn.h"
#include "imaging/picture_buffer.h"
#include "imaging/wic_picture.h"

namespace {

// Shown under the transparent parts of icons and pictures.
constexpr COLORREF TRANSPARENT_BACKDROP = RGB(255, 255, 255);

// A JPEG's EXIF block is one segment of at most 64 KB, near the start.
constexpr DWORD EXIF_SEARCH_BYTES = 0x10000 + 0x100;

// The orientation the file's EXIF block records; as stored when the file has
// none or cannot be read.
ExifOrientation OrientationOf(const char* path) {
    ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ScopedHeapBlock start(HeapBlockAlloc(EXIF_SEARCH_BYTES));
    DWORD got = 0;
    if (!file.IsOpen() || start.Get() == nullptr ||
        !ReadFile(file.Get(), start.Get(), EXIF_SEARCH_BYTES, &got, nullptr)) {
        return ExifOrientation::kAsStored;
    }
    return ReadJpegOrientation(start.Bytes(), got);
}

// Resizes by scale: by area averaging, or by keeping one pixel in n where the
// pixels must stay exact.
void ScaleBy(PictureBuffer& work, double scale, bool exactPixels) {
    if (!(exactPixels ? work.AssignScaled(work, scale) : work.Scale(scale))) {
        work.Release();
    }
}

// Brings a picture at its own size to the size it is shown at: shrunk to the
// limits and scaled to the monitor, then scaled by the preview's share of the
// screen.
bool FitToLimit(PictureBuffer& work, const PictureLimit* limit) {
    if (limit == nullptr) {
        return true;
    }
    const double fit = ShownScale(work.Width(), work.Height(), limit->maxWidth, limit->maxHeight, limit->dpiScale);
    if (fit != 1.0) {
        ScaleBy(work, fit, limit->exactPixels);
    }
    if (work.Dc() != nullptr && limit->previewScale != 1.0) {
        ScaleBy(work, limit->previewScale, limit->exactPixels);
    }
    return work.Dc() != nullptr;
}

// What the imaging component made of a file.
enum class Decoded {
    kShown,     // work holds the picture, upright, at the size it is shown at
    kNotRead,   // no imaging component, or none of its decoders reads the file
    kRefused,   // read, but too large or broken: no other loader need try
};

// Decodes through the imaging component. Where the picture shrinks, it is
// decoded straight to the size it is shown at, so the full size is never
// held; otherwise at its own size, scaled afterwards.
Decoded DecodeWithImagingComponent(PictureBuffer& work, const char* path, const PictureLimit* limit) {
    WicPicture picture;
    if (!picture.Open(path)) {
        return Decoded::kNotRead;
    }
    const ExifOrientation orientation = OrientationOf(path);
    const PixelSize upright = TurnedSize(orientation, picture.Width(), picture.Height());
    PixelSize shown = upright;
    if (limit != nullptr &&
        !ShownSize(upright.width, upright.height, limit->maxWidth, limit->maxHeight, limit->previewScale,
                   limit->dpiScale, &shown.width, &shown.height)) {
        return Decoded::kRefused;
    }
    // Exact pixels are decoded whole and resized afterwards.
    const bool shrinks = shown.width <= upright.width && shown.height <= upright.height &&
                         (limit == nullptr || !limit->exactPixels);
    // The decoder works in the stored orientation: a quarter turn swaps the sides back.
    const PixelSize decoded = shrinks ? TurnedSize(orientation, shown.width, shown.height)
                                      : PixelSize{picture.Width(), picture.Height()};
    if (!picture.Decode(work, decoded.width, decoded.height, TRANSPARENT_BACKDROP)) {
        return Decoded::kRefused;
    }
    // A photo that cannot be turned is shown as stored.
    work.Turn(orientation);
    return shrinks || FitToLimit(work, limit) ? Decoded::kShown : Decoded::kRefused;
}

}  // namespace

bool LoadPictureFile(PictureBuffer& work, const char* moduleDir, const char* entry, const PictureLimit* limit) {
    char path[PATH_BUFFER_SIZE];
    if (!ResolveAgainstDir(moduleDir, entry, path) || IsGifFile(path)) {
        work.Release();
        return false;
    }
    if (work.LoadBmpFile(path)) {
        return FitToLimit(work, limit);
    }
    // A bitmap refused for its size would ask the other loaders for the same
    // gigabytes; other refusals may be formats only they read.
    if (GetLastError() == ERROR_NOT_ENOUGH_MEMORY) {
        return false;
    }
    switch (DecodeWithImagingComponent(work, path, limit)) {
        case Decoded::kShown:
            return true;
        case Decoded::kRefused:
            work.Release();
            return false;
        case Decoded::kNotRead:
            break;
    }
    if (LOWORD(work.LoadPicture(path, TRANSPARENT_BACKDROP)) == 0) {
        return false;
    }
    // Cameras store a photo as the sensor saw it and record in the EXIF block
    // how to turn it. A photo that cannot be turned is shown as stored.
    work.Turn(OrientationOf(path));
    return FitToLimit(work, limit);
}
