#include "settings/entry_keys.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

const char* NextName(const char* name) {
    return name + std::strlen(name) + 1;
}

}  // namespace

int EntryKeyNumber(const char* name, const char* prefix) {
    // Only the prefix's own letters are compared, all of them ASCII, so a
    // double-byte character can never be taken for part of it.
    for (; *prefix != '\0'; ++prefix, ++name) {
        if (AsciiLower(*name) != AsciiLower(*prefix)) {
            return -1;
        }
    }
    if (*name < '0' || *name > '9' || (name[0] == '0' && name[1] != '\0')) {
        return -1;
    }
    long long number = 0;
    for (; *name >= '0' && *name <= '9'; ++name) {
        number = number * 10 + (*name - '0');
        if (number > INT_MAX) {
            return -1;
        }
    }
    return *name == '\0' ? static_cast<int>(number) : -1;
}

int KeyNameCount(const char* names) {
    int count = 0;
    for (const char* name = names; *name != '\0'; name = NextName(name)) {
        ++count;
    }
    return count;
}

int CollectEntryNumbers(const char* names, const char* prefix, int count, int* numbers) {
    int found = 0;
    for (const char* name = names; *name != '\0'; name = NextName(name)) {
        const int number = EntryKeyNumber(name, prefix);
        if (number >= 0 && number < count) {
            numbers[found++] = number;
        }
    }
    // A key written twice is read once, as a lookup by name finds only one.
    std::sort(numbers, numbers + found);
    return static_cast<int>(std::unique(numbers, numbers + found) - numbers);
}
