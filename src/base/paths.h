// Path tests and joins over ANSI text in the user's code page, which may be a
// double-byte one: a trailing byte equal to the backslash byte is part of its
// character and never a separator.
#pragma once

#include "base/path_limits.h"

// Writes into result (PATH_BUFFER_SIZE bytes) dir followed by path when path
// is a bare file name, else path unchanged. False, with an empty result, when
// the text would not fit.
bool ResolveAgainstDir(const char* dir, const char* path, char* result);

// The file-name part of path: what follows its last backslash, slash or drive
// colon; the whole path when it has none.
const char* FileNamePart(const char* path);

// Whether path has a directory part: a separator or a drive colon.
bool HasDirectoryPart(const char* path);

// Writes into result (PATH_BUFFER_SIZE bytes) head followed by tail. False,
// with an empty result, when the text would not fit.
bool JoinPath(const char* head, const char* tail, char* result);

// Writes into result (PATH_BUFFER_SIZE bytes) path with a backslash appended
// unless it already ends with one. False, with an empty result, when the text
// would not fit.
bool CopyWithTrailingBackslash(const char* path, char* result);

// Whether path names an existing directory, with or without a trailing
// backslash. Null, empty and over-long paths are not directories.
bool IsDirectoryPath(const char* path);

// Whether text ends with suffix, compared character by character in the
// user's locale (case matters). Any text ends with the empty suffix; null
// never matches.
bool EndsWith(const char* text, const char* suffix);
