// Typed reads and writes of one key in one section of an ini file, through the
// platform's private-profile calls. Section and key names match in any case.
#pragma once

#include "base/path_limits.h"

class IniFile {
public:
    IniFile() = default;
    virtual ~IniFile() = default;

    // Copies at most MAX_PATH_CHARS characters of path. An empty path makes
    // every read give its default and every write do nothing, so that a path
    // that could not be formed never reaches some other file.
    void SetPath(const char* path);
    const char* Path() const { return path_; }

    // Empties buffer, then copies the value (or the default when the key is
    // absent), truncated to size - 1 characters. Returns the characters copied.
    int ReadString(const char* section, const char* key, const char* defaultText, char* buffer, int size) const;

    // The value as a signed decimal integer; the default when the key is absent
    // or empty. Text without leading digits reads as 0; values beyond the
    // 32-bit range saturate.
    int ReadInt(const char* section, const char* key, int defaultValue) const;

    // ReadInt, then raised to min and lowered to max; the default passes the same clamp.
    int ReadIntClamped(const char* section, const char* key, int defaultValue, int min, int max) const;

    // 1 when ReadInt gives a nonzero value, else 0.
    int ReadBool(const char* section, const char* key, int defaultValue) const;

    // The names of the keys section holds, each NUL-terminated, the last one
    // followed by an empty name; an absent file or section gives an empty
    // list. The block comes from the process heap and the caller must free it
    // with HeapBlockFree. Null when the heap refuses.
    char* ReadKeyNames(const char* section) const;

    // False when the platform refuses the write, or without a path.
    bool WriteInt(const char* section, const char* key, int value) const;
    bool WriteString(const char* section, const char* key, const char* text) const;
    // Takes the key out of section; an absent key is no refusal. Windows may
    // refuse it on a file that does not exist yet.
    bool RemoveKey(const char* section, const char* key) const;

private:
    char path_[MAX_PATH_CHARS + 1] = {};
};
