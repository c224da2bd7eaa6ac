#include "base/wide_path.h"

#include <commdlg.h>

#include "base/procedure_lookup.h"
#include "base/test_hooks.h"
#include "base/wide_text.h"

namespace {

// The platform family bit of GetVersion: set on the 95/98 family.
constexpr DWORD WIN9X_FAMILY = 0x80000000;

typedef short(WINAPI* FileTitleWFn)(const wchar_t* file, wchar_t* title, WORD size);

// Copies text into result when it fits with its terminator; else empties it.
bool CopyBounded(const wchar_t* text, wchar_t* result) {
    const int length = lstrlenW(text);
    if (length > MAX_PATH_CHARS) {
        result[0] = L'\0';
        return false;
    }
    CopyMemory(result, text, (static_cast<SIZE_T>(length) + 1) * sizeof(wchar_t));
    return true;
}

bool HasDirectoryPart(const wchar_t* path) {
    for (const wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/' || *p == L':') {
            return true;
        }
    }
    return false;
}

// Whether the platform can make a file title of name, as ResolveAgainstDir
// asks. comdlg32 is imported, so it is loaded; its wide title function is
// looked up because the 95/98 family's may be missing, and there the name
// must pass through the code page anyway to be opened.
bool HasTitle(const wchar_t* name) {
    const FileTitleWFn titleW =
        HasWideFileApi() ? LoadedProcedureOf<FileTitleWFn>("comdlg32.dll", "GetFileTitleW") : nullptr;
    if (titleW != nullptr) {
        wchar_t title[PATH_BUFFER_SIZE];
        return titleW(name, title, PATH_BUFFER_SIZE) == 0;
    }
    char ansi[PATH_BUFFER_SIZE];
    char title[PATH_BUFFER_SIZE];
    return WidePathToAnsi(name, ansi) && GetFileTitleA(ansi, title, sizeof title) == 0;
}

}  // namespace

bool HasWideFileApi() {
    return !Hooks().win9xFileNames && (GetVersion() & WIN9X_FAMILY) == 0;
}

bool AnsiToWidePath(const char* text, wchar_t* result) {
    if (text == nullptr || MultiByteToWideChar(CP_ACP, 0, text, -1, result, PATH_BUFFER_SIZE) == 0) {
        result[0] = L'\0';
        return false;
    }
    return true;
}

// A character the code page lacks becomes its default character, which
// lpUsedDefaultChar reports; but where the code page has a look-alike (e for
// é) the conversion takes that silently and the name would open another
// file. Only a name that converts back unchanged is the same name.
// WC_NO_BEST_FIT_CHARS would say the same, but the 95/98 family, the one
// system that takes this way, rejects the flag.
bool WidePathToAnsi(const wchar_t* path, char* result) {
    BOOL usedDefault = FALSE;
    wchar_t back[PATH_BUFFER_SIZE];
    if (path == nullptr ||
        WideCharToMultiByte(CP_ACP, 0, path, -1, result, PATH_BUFFER_SIZE, nullptr, &usedDefault) == 0 ||
        usedDefault || !AnsiToWidePath(result, back) || !SameWide(back, path)) {
        result[0] = '\0';
        return false;
    }
    return true;
}

bool ResolveWideAgainstDir(const char* dir, const wchar_t* path, wchar_t* result) {
    if (dir == nullptr || path == nullptr || !CopyBounded(path, result)) {
        if (result != nullptr) {
            result[0] = L'\0';
        }
        return false;
    }
    if (HasDirectoryPart(result) || !HasTitle(result)) {
        return true;
    }
    wchar_t wideDir[PATH_BUFFER_SIZE];
    const int pathLength = lstrlenW(path);
    if (!AnsiToWidePath(dir, wideDir) || lstrlenW(wideDir) + pathLength > MAX_PATH_CHARS) {
        result[0] = L'\0';
        return false;
    }
    const int dirLength = lstrlenW(wideDir);
    CopyMemory(result, wideDir, dirLength * sizeof(wchar_t));
    CopyMemory(result + dirLength, path, (static_cast<SIZE_T>(pathLength) + 1) * sizeof(wchar_t));
    return true;
}

HANDLE OpenFileForReading(const wchar_t* path) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (HasWideFileApi()) {
        return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    }
    char ansi[PATH_BUFFER_SIZE];
    if (!WidePathToAnsi(path, ansi)) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileA(ansi, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
