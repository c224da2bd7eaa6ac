#include "settings/ini_copy.h"

#include <windows.h>

#include "base/procedure_lookup.h"

namespace {

// The same name with the extension "new" for "ini", so it fits wherever the
// file does.
bool CopyPathFor(const char* path, char* copyPath) {
    const int length = lstrlenA(path);
    if (length < 4 || lstrcmpiA(path + length - 4, ".ini") != 0) {
        return false;
    }
    lstrcpyA(copyPath, path);
    lstrcpyA(copyPath + length - 3, "new");
    return true;
}

// Makes copyPath a copy of the settings file at path, so that the keys a save
// does not write (the hand-set Debug section, entries beyond the counts)
// stay as they were; with no file yet, the first write starts the copy empty.
// A read-only file, or a folder in its place, cannot be replaced: false.
bool StartCopy(const char* path, const char* copyPath) {
    // Whatever an interrupted save left behind is not written into.
    SetFileAttributesA(copyPath, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(copyPath);
    if (GetFileAttributesA(copyPath) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return false;
    }
    return CopyFileA(path, copyPath, TRUE) != FALSE;
}

typedef BOOL(WINAPI* MoveFileExFn)(const char* from, const char* to, DWORD flags);

// Puts the finished copy in the place of the settings file.
bool MoveOver(const char* copyPath, const char* path) {
    // The 95/98 family exports MoveFileExA only as a stub that fails with
    // ERROR_CALL_NOT_IMPLEMENTED; there the file is deleted, then the copy moved.
    const MoveFileExFn moveFileEx = LoadedProcedureOf<MoveFileExFn>("kernel32.dll", "MoveFileExA");
    if (moveFileEx != nullptr) {
        if (moveFileEx(copyPath, path, MOVEFILE_REPLACE_EXISTING)) {
            return true;
        }
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
            return false;
        }
    }
    if (!DeleteFileA(path) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    return MoveFileA(copyPath, path) != FALSE;
}

}  // namespace

bool BeginIniCopy(const char* path, char* copyPath) {
    return CopyPathFor(path, copyPath) && StartCopy(path, copyPath);
}

bool FinishIniCopy(const char* copyPath, const char* path, bool allWritten) {
    // All three null flushes the profile cache of the 95/98 family, which
    // would otherwise write the copy out later, after it was moved.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copyPath);
    const bool hadFile = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    if (allWritten && MoveOver(copyPath, path)) {
        return true;
    }
    if (!hadFile || GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(copyPath);
    }
    return false;
}
