#include "engine/slide_caption.h"

#include <windows.h>

#include "base/gdi_guards.h"
#include "base/wide_path.h"
#include "engine/picture_file.h"
#include "imaging/caption_stamp.h"
#include "imaging/caption_text.h"
#include "imaging/jpeg_file_orientation.h"
#include "imaging/picture_buffer.h"

namespace {

bool LastWriteDay(const wchar_t* path, CalendarDate* date) {
    ScopedFile file(OpenFileForReading(path));
    FILETIME written;
    FILETIME local;
    SYSTEMTIME day;
    if (!file.IsOpen() || !GetFileTime(file.Get(), nullptr, nullptr, &written) ||
        !FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &day)) {
        return false;
    }
    *date = CalendarDate{day.wYear, day.wMonth, day.wDay};
    return true;
}

}  // namespace

void StampSlideCaption(PictureBuffer& work, const wchar_t* path, const CalendarDate* metadataDate,
                       const PictureLimit& limit) {
    if (!limit.caption || work.Dc() == nullptr || path == nullptr) {
        return;
    }
    CalendarDate date = metadataDate != nullptr ? *metadataDate : CalendarDate{};
    const bool dated =
        metadataDate != nullptr || ReadJpegFileDateTaken(path, &date) || LastWriteDay(path, &date);
    char16_t text[CAPTION_TEXT_CAPACITY];
    const size_t length =
        ComposeCaption(dated ? &date : nullptr, reinterpret_cast<const char16_t*>(path), text, CAPTION_TEXT_CAPACITY);
    // The region of the transparent colour is made from the picture as it
    // is handed over: the chosen colour, or its top-left pixel, which the
    // caption in the bottom corner never reaches.
    COLORREF transparentColor = limit.chosenTransparentColor;
    if (limit.hasTransparentColor && !limit.hasChosenTransparentColor) {
        transparentColor = GetPixel(work.Dc(), 0, 0);
    }
    StampCaption(work, text, length, limit.dpiScale, limit.hasTransparentColor ? &transparentColor : nullptr);
}
