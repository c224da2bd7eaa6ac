#include "settings/ini_file.h"

#include <windows.h>

#include <cstdio>

#include "base/decimal_text.h"
#include "base/process_heap.h"

namespace {

// Enough for any 32-bit number with sign, and for the blanks or text a
// hand-edited value may carry after it.
constexpr int NUMBER_TEXT_SIZE = 64;

// The first guess at the size of a section's key names; it doubles until the
// names fit, up to a limit no settings file comes near.
constexpr DWORD KEY_NAMES_FIRST_SIZE = 4096;
constexpr DWORD KEY_NAMES_SIZE_LIMIT = 0x40000000;

}  // namespace

void IniFile::SetPath(const char* path) {
    lstrcpynA(path_, path != nullptr ? path : "", sizeof path_);
}

int IniFile::ReadString(const char* section, const char* key, const char* defaultText, char* buffer,
                        int size) const {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    if (path_[0] == '\0') {
        lstrcpynA(buffer, defaultText != nullptr ? defaultText : "", size);
        return lstrlenA(buffer);
    }
    return static_cast<int>(GetPrivateProfileStringA(section, key, defaultText, buffer,
                                                     static_cast<DWORD>(size), path_));
}

int IniFile::ReadInt(const char* section, const char* key, int defaultValue) const {
    // The platform's integer read is not used: Windows turns a negative value
    // into 0, and the background brightness is stored negative.
    char text[NUMBER_TEXT_SIZE];
    if (ReadString(section, key, "", text, sizeof text) == 0) {
        return defaultValue;
    }
    return ParseSignedDecimal(text);
}

int IniFile::ReadIntClamped(const char* section, const char* key, int defaultValue, int min, int max) const {
    int value = ReadInt(section, key, defaultValue);
    if (value < min) {
        value = min;
    }
    if (value > max) {
        value = max;
    }
    return value;
}

int IniFile::ReadBool(const char* section, const char* key, int defaultValue) const {
    return ReadInt(section, key, defaultValue) != 0 ? 1 : 0;
}

char* IniFile::ReadKeyNames(const char* section) const {
    for (DWORD size = KEY_NAMES_FIRST_SIZE; size <= KEY_NAMES_SIZE_LIMIT; size *= 2) {
        char* names = static_cast<char*>(HeapBlockAlloc(size));
        if (names == nullptr || path_[0] == '\0') {
            return names;
        }
        // A list cut short comes back as size - 2 characters.
        if (GetPrivateProfileStringA(section, nullptr, "", names, size, path_) < size - 2) {
            return names;
        }
        HeapBlockFree(names);
    }
    return nullptr;
}

bool IniFile::WriteInt(const char* section, const char* key, int value) const {
    char text[NUMBER_TEXT_SIZE];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteString(section, key, text);
}

bool IniFile::WriteString(const char* section, const char* key, const char* text) const {
    return path_[0] != '\0' && WritePrivateProfileStringA(section, key, text, path_) != FALSE;
}

bool IniFile::RemoveKey(const char* section, const char* key) const {
    return path_[0] != '\0' && WritePrivateProfileStringA(section, key, nullptr, path_) != FALSE;
}
