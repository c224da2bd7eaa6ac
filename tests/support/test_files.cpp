#include "support/test_files.h"

#include <windows.h>

namespace {

std::string WithBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    return path;
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

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

void RemoveTree(const std::string& folder) {
    const std::string base = WithBackslash(folder);
    WIN32_FIND_DATAA item;
    HANDLE search = FindFirstFileA((base + "*").c_str(), &item);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = item.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string full = base + name;
            if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &item));
        FindClose(search);
    }
    RemoveDirectoryA(base.c_str());
}

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

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ExecutableFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

void PutLittleEndian(std::string& bytes, unsigned long value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes.push_back(static_cast<char>(i < 4 ? (value >> (8 * i)) & 0xFF : 0));
    }
}
