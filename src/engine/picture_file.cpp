#include "engine/picture_file.h"

#include <windows.h>

#include "base/path_limits.h"
#include "base/paths.h"
#include "base/process_heap.h"
#include "imaging/exif_orientation.h"
#include "imaging/gdi_guards.h"
#include "imaging/picture_buffer.h"

namespace {

// Shown under the transparent parts of icons.
constexpr COLORREF ICON_BACKDROP = RGB(255, 255, 255);

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

}  // namespace

bool LoadPictureFile(PictureBuffer& work, const char* moduleDir, const char* entry) {
    char path[PATH_BUFFER_SIZE];
    if (!ResolveAgainstDir(moduleDir, entry, path) || IsGifFile(path)) {
        work.Release();
        return false;
    }
    if (work.LoadBmpFile(path)) {
        return true;
    }
    // A bitmap refused for its size would ask the system's loader for the
    // same gigabytes; other refusals may be formats only that loader reads.
    if (GetLastError() == ERROR_NOT_ENOUGH_MEMORY) {
        return false;
    }
    if (LOWORD(work.LoadPicture(path, ICON_BACKDROP)) == 0) {
        return false;
    }
    // Cameras store a photo as the sensor saw it and record in the EXIF block
    // how to turn it. A photo that cannot be turned is shown as stored.
    work.Turn(OrientationOf(path));
    return true;
}
