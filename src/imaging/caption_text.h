// The words of a picture's caption: the day it was taken and the name of the
// folder that holds it, parted by an ideographic space, as
// "2023年8月12日　北海道旅行". Text is UTF-16, so that a folder name outside
// the code page keeps every character. No Win32 here.
#pragma once

#include <cstddef>

#include "imaging/exif_date.h"

// Room for a date and the longest folder name a path holds, with the terminator.
constexpr size_t CAPTION_TEXT_CAPACITY = 300;

// The last component of the folder that holds the file at path (a full path,
// '\' or '/' between components; a drive, "\\server\share" or the "\\?\"
// prefix as its root). Sets *length to 0 for a file at the root.
const char16_t* FolderNameOf(const char16_t* path, size_t* length);

// Writes the caption for a file at path taken on date (null: no date) into
// text, terminated, cut at capacity; returns its length. 0 when there is
// neither a date nor a folder name.
size_t ComposeCaption(const CalendarDate* date, const char16_t* path, char16_t* text, size_t capacity);
