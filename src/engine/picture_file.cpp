#include "engine/picture_file.h"

#include <windows.h>

#include "base/path_limits.h"
#include "base/paths.h"
#include "imaging/picture_buffer.h"

namespace {

// Shown under the transparent parts of icons.
constexpr COLORREF ICON_BACKDROP = RGB(255, 255, 255);

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
    return LOWORD(work.LoadPicture(path, ICON_BACKDROP)) != 0;
}
