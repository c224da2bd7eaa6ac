#include "engine/picture_file.h"

#include <windows.h>

#include "base/path_limits.h"
#include "base/wide_path.h"
#include "engine/slide_caption.h"
#include "engine/slide_placement.h"
#include "imaging/jpeg_file_orientation.h"
#include "imaging/orientation_turn.h"
#include "imaging/picture_buffer.h"
#include "imaging/smooth_resize.h"
#include "imaging/wic_picture.h"

namespace {

// Shown under the alpha of icons and pictures.
constexpr COLORREF ALPHA_BACKDROP = RGB(255, 255, 255);

// Resizes by scale: smoothly, or by keeping or repeating whole pixels where
// they must stay exact.
void ScaleBy(PictureBuffer& work, double scale, bool hasTransparentColor) {
    if (!(hasTransparentColor ? work.AssignScaled(work, scale) : ResizeSmoothly(work, scale))) {
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
        ScaleBy(work, fit, limit->hasTransparentColor);
    }
    if (work.Dc() != nullptr && limit->previewScale != 1.0) {
        ScaleBy(work, limit->previewScale, limit->hasTransparentColor);
    }
    return work.Dc() != nullptr;
}

// What the imaging component made of a file.
enum class Decoded {
    kShown,     // work holds the picture, upright, at the size it is shown at
    kNotRead,   // no imaging component, none of its decoders reads the file,
                // or the decoder fails on its data: the OLE loader may read it
    kRefused,   // too large to show: no other loader need try
};

// The caption goes on last, into the picture as it is shown.
bool WithCaption(PictureBuffer& work, const wchar_t* path, const CalendarDate* metadataDate,
                 const PictureLimit* limit) {
    if (limit != nullptr) {
        StampSlideCaption(work, path, metadataDate, *limit);
    }
    return true;
}

// Decodes through the imaging component. Where the picture shrinks, it is
// decoded straight to the size it is shown at, so the full size is never
// held; otherwise at its own size, scaled afterwards. *dated tells whether
// the decoder's metadata gave the day the photo was taken, for a caption.
Decoded DecodeWithImagingComponent(PictureBuffer& work, const wchar_t* path, const PictureLimit* limit,
                                   CalendarDate* date, bool* dated) {
    WicPicture picture;
    if (!picture.Open(path)) {
        return Decoded::kNotRead;
    }
    *dated = limit != nullptr && limit->caption && picture.DateTaken(date);
    const ExifOrientation orientation = picture.Orientation();
    const PixelSize upright = TurnedSize(orientation, picture.Width(), picture.Height());
    PixelSize shown = upright;
    if (limit != nullptr &&
        !ShownSize(upright.width, upright.height, limit->maxWidth, limit->maxHeight, limit->previewScale,
                   limit->dpiScale, &shown.width, &shown.height)) {
        return Decoded::kRefused;
    }
    // A picture with a transparent colour is decoded whole and resized afterwards.
    const bool shrinks = shown.width <= upright.width && shown.height <= upright.height &&
                         (limit == nullptr || !limit->hasTransparentColor);
    // The decoder works in the stored orientation: a quarter turn swaps the sides back.
    const PixelSize decoded = shrinks ? TurnedSize(orientation, shown.width, shown.height)
                                      : PixelSize{picture.Width(), picture.Height()};
    // The OLE loader shows what it can of a damaged file, such as a JPEG cut
    // short, where the imaging component's decoders refuse it whole.
    if (!picture.Decode(work, decoded.width, decoded.height, ALPHA_BACKDROP)) {
        return GetLastError() == ERROR_INVALID_DATA ? Decoded::kNotRead : Decoded::kRefused;
    }
    // A photo that cannot be turned is shown as stored.
    work.Turn(orientation);
    return shrinks || FitToLimit(work, limit) ? Decoded::kShown : Decoded::kRefused;
}

}  // namespace

bool LoadPictureFile(PictureBuffer& work, const char* moduleDir, const wchar_t* entry, const PictureLimit* limit) {
    wchar_t path[PATH_BUFFER_SIZE];
    if (!ResolveWideAgainstDir(moduleDir, entry, path) || IsGifFile(path)) {
        work.Release();
        return false;
    }
    if (work.LoadBmpFile(path)) {
        return FitToLimit(work, limit) && WithCaption(work, path, nullptr, limit);
    }
    // A bitmap refused for its size would ask the other loaders for the same
    // gigabytes; other refusals may be formats only they read.
    if (GetLastError() == ERROR_NOT_ENOUGH_MEMORY) {
        return false;
    }
    CalendarDate metadataDate = {};
    bool dated = false;
    switch (DecodeWithImagingComponent(work, path, limit, &metadataDate, &dated)) {
        case Decoded::kShown:
            return WithCaption(work, path, dated ? &metadataDate : nullptr, limit);
        case Decoded::kRefused:
            work.Release();
            return false;
        case Decoded::kNotRead:
            break;
    }
    if (LOWORD(work.LoadPicture(path, ALPHA_BACKDROP)) == 0) {
        return false;
    }
    // Cameras store a photo as the sensor saw it and record in the EXIF block
    // how to turn it. A photo that cannot be turned is shown as stored.
    work.Turn(ReadJpegFileOrientation(path));
    return FitToLimit(work, limit) && WithCaption(work, path, nullptr, limit);
}
