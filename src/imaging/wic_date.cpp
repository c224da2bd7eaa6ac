#include "imaging/wic_date.h"

#include <windows.h>

#include <initguid.h>
#include <wincodec.h>

#include "base/procedure_lookup.h"

namespace {

// Where each container keeps the three EXIF dates, in the order asked:
// DateTimeOriginal (36867), DateTimeDigitized (36868), then DateTime (306).
struct DateQueries {
    const GUID* container;  // null: any other container
    const wchar_t* paths[3];
};

const DateQueries kQueries[] = {
    {&GUID_ContainerFormatJpeg,
     {L"/app1/ifd/exif/{ushort=36867}", L"/app1/ifd/exif/{ushort=36868}", L"/app1/ifd/{ushort=306}"}},
    {nullptr, {L"/ifd/exif/{ushort=36867}", L"/ifd/exif/{ushort=36868}", L"/ifd/{ushort=306}"}},
};

// The photo property the system fills from whichever schema holds the date
// (EXIF, XMP, IPTC), in every container its handlers know.
const wchar_t DATE_TAKEN_POLICY[] = L"System.Photo.DateTaken";

typedef HRESULT(WINAPI* PropVariantClearFn)(PROPVARIANT*);

// Room for "YYYY:MM:DD" and what follows it in a date's text.
constexpr size_t DATE_TEXT_ROOM = 32;

bool TextDate(const PROPVARIANT& value, CalendarDate* date) {
    char text[DATE_TEXT_ROOM] = {};
    if (value.vt == VT_LPSTR && value.pszVal != nullptr) {
        lstrcpynA(text, value.pszVal, DATE_TEXT_ROOM);
    } else if (value.vt == VT_LPWSTR && value.pwszVal != nullptr) {
        // XMP writes the date as "2023-08-12T14:03:59": its first ten
        // characters are digits and separators, the same in any code page.
        for (size_t i = 0; i + 1 < DATE_TEXT_ROOM && value.pwszVal[i] != 0; ++i) {
            text[i] = value.pwszVal[i] < 0x80 ? static_cast<char>(value.pwszVal[i]) : '?';
        }
    } else {
        return false;
    }
    return ParseExifDate(text, static_cast<size_t>(lstrlenA(text)), date);
}

// The policy's moment is universal time; the day is the one where the
// picture is shown.
bool MomentDate(const PROPVARIANT& value, CalendarDate* date) {
    FILETIME local;
    SYSTEMTIME day;
    if (value.vt != VT_FILETIME || !FileTimeToLocalFileTime(&value.filetime, &local) ||
        !FileTimeToSystemTime(&local, &day)) {
        return false;
    }
    *date = CalendarDate{day.wYear, day.wMonth, day.wDay};
    return true;
}

bool QueryDate(IWICMetadataQueryReader* reader, const wchar_t* path, PropVariantClearFn clear, CalendarDate* date) {
    PROPVARIANT value;
    PropVariantInit(&value);
    if (FAILED(reader->GetMetadataByName(path, &value))) {
        return false;
    }
    const bool found = TextDate(value, date) || MomentDate(value, date);
    clear(&value);
    return found;
}

bool ReaderDate(IWICMetadataQueryReader* reader, CalendarDate* date) {
    GUID container = GUID_NULL;
    if (FAILED(reader->GetContainerFormat(&container))) {
        return false;
    }
    // ole32 of the oldest systems lacks it; they have no imaging component either.
    const PropVariantClearFn clear = LoadedProcedureOf<PropVariantClearFn>("ole32.dll", "PropVariantClear");
    if (clear == nullptr) {
        return false;
    }
    const DateQueries* queries = kQueries;
    while (queries->container != nullptr && !IsEqualGUID(*queries->container, container)) {
        ++queries;
    }
    for (const wchar_t* path : queries->paths) {
        if (QueryDate(reader, path, clear, date)) {
            return true;
        }
    }
    return QueryDate(reader, DATE_TAKEN_POLICY, clear, date);
}

}  // namespace

bool FrameDateTaken(IWICBitmapFrameDecode* frame, CalendarDate* date) {
    IWICMetadataQueryReader* reader = nullptr;
    if (frame == nullptr || FAILED(frame->GetMetadataQueryReader(&reader)) || reader == nullptr) {
        return false;
    }
    const bool found = ReaderDate(reader, date);
    reader->Release();
    return found;
}
