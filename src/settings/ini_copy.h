// Saving an ini file through a copy: the keys go into a copy beside the file,
// which takes the file's place only when every one of them was written, so a
// save refused half way leaves the file as it was.
#pragma once

#include <windows.h>

// Makes copyPath (PATH_BUFFER_SIZE bytes: path with the extension "new" for
// "ini") a copy of the ini file at path, so that keys the save does not write
// stay as they were; with no file yet the copy starts empty on the first
// write. False when path does not end in ".ini", the file cannot be replaced
// (read-only, a folder in its place) or the copy cannot be made.
bool BeginIniCopy(const char* path, char* copyPath);

// Puts the copy, flushed to the disk, in the file's place when allWritten:
// on the NT family through ReplaceFileA, which keeps the file's attributes
// and access list, on the 95/98 family by renaming the file aside (extension
// "old") until the copy is in. Otherwise, or when that fails, removes the
// copy and leaves the file as it was (unless the file is already gone and the
// copy is all that is left). True when the file now holds the copy.
bool FinishIniCopy(const char* copyPath, const char* path, bool allWritten);
