#include "imaging/wic_orientation.h"

#include <windows.h>

#include <initguid.h>
#include <wincodec.h>

#include "base/procedure_lookup.h"
#include "imaging/jpeg_file_orientation.h"

namespace {

// Where each container keeps the orientation, in the order asked: the EXIF
// tag (274), then the XMP property that mirrors it.
struct OrientationQueries {
    const GUID* container;  // null: any other container
    const wchar_t* paths[2];
};

const OrientationQueries kQueries[] = {
    {&GUID_ContainerFormatJpeg, {L"/app1/ifd/{ushort=274}", L"/xmp/tiff:Orientation"}},
    {&GUID_ContainerFormatTiff, {L"/ifd/{ushort=274}", L"/ifd/xmp/tiff:Orientation"}},
    // HEIF turns by the container's own rotation, which the decoder reports
    // here; the EXIF item may say the same again and is left alone, or the
    // photo would be turned twice.
    {&GUID_ContainerFormatHeif, {L"/heifProps/Orientation", nullptr}},
    {nullptr, {L"/ifd/{ushort=274}", L"/xmp/tiff:Orientation"}},
};

typedef HRESULT(WINAPI* PropVariantClearFn)(PROPVARIANT*);

// A value from 1 to 8, given as a number or (in XMP) as its decimal text;
// 0 for anything else.
template <typename Char>
unsigned DecimalOrientation(const Char* text) {
    if (text == nullptr || text[0] < '1' || text[0] > '8' || text[1] != 0) {
        return 0;
    }
    return static_cast<unsigned>(text[0] - '0');
}

unsigned OrientationValue(const PROPVARIANT& value) {
    switch (value.vt) {
        case VT_UI2:
            return value.uiVal;
        case VT_LPWSTR:
            return DecimalOrientation(value.pwszVal);
        case VT_LPSTR:
            return DecimalOrientation(value.pszVal);
        default:
            return 0;
    }
}

// The first orientation of 1..8 the queries find; 0 when none does.
unsigned QueryOrientation(IWICMetadataQueryReader* reader) {
    GUID container = GUID_NULL;
    if (FAILED(reader->GetContainerFormat(&container))) {
        return 0;
    }
    const OrientationQueries* queries = kQueries;
    while (queries->container != nullptr && !IsEqualGUID(*queries->container, container)) {
        ++queries;
    }
    // ole32 of the oldest systems lacks it; they have no imaging component either.
    const PropVariantClearFn clear = LoadedProcedureOf<PropVariantClearFn>("ole32.dll", "PropVariantClear");
    if (clear == nullptr) {
        return 0;
    }
    for (const wchar_t* path : queries->paths) {
        if (path == nullptr) {
            break;
        }
        PROPVARIANT value;
        PropVariantInit(&value);
        if (FAILED(reader->GetMetadataByName(path, &value))) {
            continue;
        }
        const unsigned orientation = OrientationValue(value);
        clear(&value);
        if (orientation >= static_cast<unsigned>(ExifOrientation::kAsStored) &&
            orientation <= static_cast<unsigned>(ExifOrientation::kTurnAnticlockwise)) {
            return orientation;
        }
    }
    return 0;
}

}  // namespace

ExifOrientation FrameOrientation(IWICBitmapFrameDecode* frame, const wchar_t* path) {
    IWICMetadataQueryReader* reader = nullptr;
    unsigned orientation = 0;
    if (frame != nullptr && SUCCEEDED(frame->GetMetadataQueryReader(&reader)) && reader != nullptr) {
        orientation = QueryOrientation(reader);
        reader->Release();
    }
    return orientation != 0 ? static_cast<ExifOrientation>(orientation) : ReadJpegFileOrientation(path);
}
