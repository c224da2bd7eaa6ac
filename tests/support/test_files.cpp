#include "support/test_files.h"

#include <windows.h>

namespace {

std::string WithBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    return path;
}

// Wide throughout, so that files a test named outside the code page go too.
void RemoveWideTree(const std::wstring& base) {
    WIN32_FIND_DATAW item;
    HANDLE search = FindFirstFileW((base + L"*").c_str(), &item);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = item.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring full = base + name;
            if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveWideTree(full + L"\\");
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(search, &item));
        FindClose(search);
    }
    RemoveDirectoryW(base.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned serial = 0;
    for (;;) {
        char name[64];
        wsprintfA(name, "gleamo-test-%lu-%u", GetCurrentProcessId(), ++serial);
        std::string candidate = WithBackslash(base) + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = WithBackslash(candidate);
            return;
        }
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void RemoveTree(const std::string& folder) { RemoveWideTree(Wide(WithBackslash(folder))); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        read = 0;
    }
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ExecutableFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::wstring Wide(const std::string& path) {
    std::wstring wide(path.size() + 1, L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(written > 0 ? written - 1 : 0);
    return wide;
}
