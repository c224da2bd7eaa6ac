// Pictures decoded by the system's imaging component (every Windows since
// Vista, and XP SP3): PNG, TIFF, JPEG and whatever codecs the system adds.
// Where it is missing, Open fails and the caller falls back to the OLE
// picture loader.
#pragma once

#include <windows.h>

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
    bool Open(const char* path);
    // The frame's stored size; 0 before a successful Open.
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Decodes the frame into target as a 24-bit picture of width x height
    // (each side from 1 to the stored one's): every pixel the mean of the
    // source area it covers, transparent parts laid over backdrop. The full
    // size is never held: where the decoder can reduce by 2, 4 or 8 while
    // decoding and still give at least width x height, it does; otherwise
    // the lines pass through a band of a few lines. False, with target
    // empty, when the frame cannot be decoded: ERROR_NOT_ENOUGH_MEMORY for a
    // picture too large to shrink.
    bool Decode(BitmapBuffer& target, int width, int height, COLORREF backdrop);

private:
    bool initialized_ = false;  // this object's CoInitialize, undone with it
    IWICImagingFactory* factory_ = nullptr;
    IWICBitmapFrameDecode* frame_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Tests stand in for a system without the imaging component.
void SetImagingComponentForTest(bool available);
