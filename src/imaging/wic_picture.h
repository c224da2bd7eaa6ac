// Pictures decoded by the system's imaging component (every Windows since
// Vista, and XP SP3): PNG, TIFF, JPEG and whatever codecs the system adds.
// Where it is missing, Open fails and the caller falls back to the OLE
// picture loader.
#pragma once

#include <windows.h>

#include "imaging/exif_date.h"
#include "imaging/exif_orientation.h"

class BitmapBuffer;
struct IWICImagingFactory;
struct IWICBitmapFrameDecode;

class WicPicture {
public:
    WicPicture();
    ~WicPicture();
    WicPicture(const WicPicture&) = delete;
    WicPicture& operator=(const WicPicture&) = delete;

    // Opens the first frame of the file. False when the system has no
    // imaging component or none of its decoders reads the file.
    bool Open(const wchar_t* path);
    // The frame's stored size; 0 before a successful Open.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // How the stored pixels must be turned to show the picture upright, as
    // its metadata (or a JPEG's EXIF block) records; as stored before Open.
    ExifOrientation Orientation() const { return orientation_; }
    // The day the photo was taken, as the decoder's metadata records it;
    // false when it records none.
    bool DateTaken(CalendarDate* date) const;

    // Decodes the frame into target as a 24-bit picture of width x height
    // (each side from 1 to the stored one's): every pixel the mean of the
    // source area it covers, parts with alpha laid over backdrop. The full
    // size is never held: where the decoder can reduce by 2, 4 or 8 while
    // decoding and still give at least width x height, it does; otherwise
    // the lines pass through a band of a few lines, a side longer than the
    // area shrink takes first brought within it by the component's scaler.
    // False, with target empty: ERROR_INVALID_DATA when the decoder fails
    // on the file's data (another loader may read it),
    // ERROR_NOT_ENOUGH_MEMORY when the picture is too large for memory.
    bool Decode(BitmapBuffer& target, int width, int height, COLORREF backdrop);

private:
    bool initialized_ = false;  // this object's CoInitialize, undone with it
    IWICImagingFactory* factory_ = nullptr;
    IWICBitmapFrameDecode* frame_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    ExifOrientation orientation_ = ExifOrientation::kAsStored;
};
