// Texts of the list pages: the open-file filters and the entries made from a
// chosen file or folder.
#pragma once

#include <windows.h>

#include "base/path_limits.h"

constexpr int FILTER_BUFFER_SIZE = 1024;

// Loads string stringId into buffer (FILTER_BUFFER_SIZE bytes) and turns each
// '/' into a zero: the resource strings end with '/', so the result is a
// filter list ending with an empty string.
void LoadFilterList(UINT stringId, char* buffer);

// The list entry for a chosen file (at most MAX_PATH_CHARS characters), into
// entry (PATH_BUFFER_SIZE bytes): the bare file name when the file lies in
// programDirectory (compared without regard to case), else the path itself.
void ListEntryForFile(const char* path, const char* programDirectory, char* entry);
