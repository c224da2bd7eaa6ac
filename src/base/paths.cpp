#include "base/paths.h"

#include <windows.h>

#include <commdlg.h>

namespace {

constexpr char BACKSLASH[] = "\\";
constexpr char CURRENT_DIRECTORY[] = ".";

// Copies text into result when it fits with its terminator; else empties it.
bool CopyBounded(const char* text, char* result) {
    const int length = lstrlenA(text);
    if (length > MAX_PATH_CHARS) {
        result[0] = '\0';
        return false;
    }
    CopyMemory(result, text, static_cast<SIZE_T>(length) + 1);
    return true;
}

// Appends tail to the text in result when both fit with the terminator;
// otherwise result is left as it was.
bool AppendBounded(char* result, const char* tail) {
    const int head = lstrlenA(result);
    const int length = lstrlenA(tail);
    if (head + length > MAX_PATH_CHARS) {
        return false;
    }
    CopyMemory(result + head, tail, static_cast<SIZE_T>(length) + 1);
    return true;
}

}  // namespace

// A bare name is one the platform can make a title of and that has no
// directory part. The title alone cannot decide it: it drops the extension
// when the user has Explorer hide the extensions of known file types, and
// song.mp3 would then no longer equal its own title.
bool ResolveAgainstDir(const char* dir, const char* path, char* result) {
    if (dir == nullptr || path == nullptr || !CopyBounded(path, result)) {
        if (result != nullptr) {
            result[0] = '\0';
        }
        return false;
    }
    char title[PATH_BUFFER_SIZE];
    if (GetFileTitleA(result, title, sizeof title) != 0 || HasDirectoryPart(result)) {
        return true;
    }
    return JoinPath(dir, path, result);
}

const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':') {
            name = p + 1;
        }
    }
    return name;
}

bool HasDirectoryPart(const char* path) {
    return FileNamePart(path) != path;
}

bool JoinPath(const char* head, const char* tail, char* result) {
    if (!CopyBounded(head, result) || !AppendBounded(result, tail)) {
        result[0] = '\0';
        return false;
    }
    return true;
}

bool CopyWithTrailingBackslash(const char* path, char* result) {
    if (path == nullptr || !CopyBounded(path, result)) {
        if (result != nullptr) {
            result[0] = '\0';
        }
        return false;
    }
    if (!EndsWith(result, BACKSLASH) && !AppendBounded(result, BACKSLASH)) {
        result[0] = '\0';
        return false;
    }
    return true;
}

bool IsDirectoryPath(const char* path) {
    if (path == nullptr || path[0] == '\0') {
        return false;
    }
    char copy[PATH_BUFFER_SIZE];
    if (!CopyBounded(path, copy)) {
        return false;
    }
    // D:\Pictures\ is asked about as D:\Pictures\. so that the attributes are
    // those of the folder itself.
    if (EndsWith(copy, BACKSLASH) && !AppendBounded(copy, CURRENT_DIRECTORY)) {
        return false;
    }
    char full[PATH_BUFFER_SIZE];
    const DWORD length = GetFullPathNameA(copy, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(full);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool EndsWith(const char* text, const char* suffix) {
    if (text == nullptr || suffix == nullptr) {
        return false;
    }
    const char* t = text + lstrlenA(text);
    const char* s = suffix + lstrlenA(suffix);
    // CharPrevA stops at the start it is given, so a text shorter than the
    // suffix simply stays at its start and the comparison fails.
    while (s > suffix) {
        s = CharPrevA(suffix, s);
        t = CharPrevA(text, t);
    }
    return CompareStringA(LOCALE_USER_DEFAULT, 0, t, -1, suffix, -1) == CSTR_EQUAL;
}
