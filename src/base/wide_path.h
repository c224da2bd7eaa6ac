// File names in UTF-16, as the NT family keeps them, so that a name outside
// the user's ANSI code page (Korean in a Japanese locale, an accented Latin
// letter, an emoji) still opens. The 95/98 family's wide file functions fail:
// there a name is opened through the ANSI code page, and one with a character
// the code page lacks cannot be opened at all.
#pragma once

#include <windows.h>

#include "base/path_limits.h"

// Whether the system's file functions take wide names: false on the 95/98
// family.
bool HasWideFileApi();

// Writes text (in the ANSI code page) into result (PATH_BUFFER_SIZE wide
// characters). False, with an empty result, when it does not fit.
bool AnsiToWidePath(const char* text, wchar_t* result);

// Writes path into result (PATH_BUFFER_SIZE bytes) in the ANSI code page.
// False, with an empty result, when it does not fit or has a character the
// code page lacks.
bool WidePathToAnsi(const wchar_t* path, char* result);

// Writes into result (PATH_BUFFER_SIZE wide characters) dir (ANSI, with a
// trailing backslash) followed by path when path is a bare file name, else
// path unchanged: the wide form of ResolveAgainstDir. False, with an empty
// result, when the text would not fit.
bool ResolveWideAgainstDir(const char* dir, const wchar_t* path, wchar_t* result);

// Opens the file for reading (GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING),
// as CreateFile does: INVALID_HANDLE_VALUE, with the last error set, when it
// cannot. On the 95/98 family a name the ANSI code page cannot hold fails
// with ERROR_INVALID_NAME.
HANDLE OpenFileForReading(const wchar_t* path);
