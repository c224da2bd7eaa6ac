// The file extensions of the picture formats this system can show.
#pragma once

#include "base/heap_array.h"

// Fills extensions with those of the imaging component's installed decoders
// (".heic", ".webp", ".avif" where their decoders are), with ".jpeg", ".jpe"
// and ".jfif" always among them and ".gif" never (a GIF is refused by its
// content); without the component, ".bmp", ".jpg", ".jpeg" and ".jpe". Each
// in lower case and ending in a NUL, the last one followed by a second NUL.
// Asks the component on the calling thread, whose COM must be initialised.
// False when the list cannot grow.
bool ReadablePictureExtensions(HeapArray<wchar_t>& extensions);
