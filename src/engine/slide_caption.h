// The caption a slide carries: the day its picture was taken and the name of
// the folder it lives in, drawn into the picture where it is loaded (on the
// loader's worker, never on the window thread), once the picture is upright
// and at the size it is shown at. The background never gets one.
#pragma once

#include "imaging/exif_date.h"

class PictureBuffer;
struct PictureLimit;

// Stamps the caption into work when limit asks for one. The day is
// metadataDate (what the imaging component's metadata said; null when it
// said nothing), else the JPEG's own EXIF block, else the day the file was
// last written, in local time.
void StampSlideCaption(PictureBuffer& work, const wchar_t* path, const CalendarDate* metadataDate,
                       const PictureLimit& limit);
