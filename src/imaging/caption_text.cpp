#include "imaging/caption_text.h"

namespace {

constexpr char16_t YEAR_MARK = u'\u5E74';   // 年
constexpr char16_t MONTH_MARK = u'\u6708';  // 月
constexpr char16_t DAY_MARK = u'\u65E5';    // 日
constexpr char16_t IDEOGRAPHIC_SPACE = u'\u3000';

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Where the component that starts at from ends: at the next separator or the end.
size_t ComponentEnd(const char16_t* path, size_t from) {
    while (path[from] != 0 && !IsSeparator(path[from])) {
        ++from;
    }
    return from;
}

// How many characters the root takes, with the separator after it: "C:\",
// "\\server\share\", and either of them behind "\\?\" ("\\?\UNC\server\share\").
size_t RootLength(const char16_t* path) {
    size_t at = 0;
    bool share = false;
    if (IsSeparator(path[0]) && IsSeparator(path[1])) {
        at = 2;
        share = true;
        if (path[2] == u'?' && IsSeparator(path[3])) {
            at = 4;
            share = (path[4] == u'U' || path[4] == u'u') && (path[5] == u'N' || path[5] == u'n') &&
                    (path[6] == u'C' || path[6] == u'c') && IsSeparator(path[7]);
            if (share) {
                at = 8;
            }
        }
    }
    if (share) {
        for (int component = 0; component < 2 && path[at] != 0; ++component) {
            at = ComponentEnd(path, at);
            if (path[at] != 0) {
                ++at;
            }
        }
        return at;
    }
    if (path[at] != 0 && path[at + 1] == u':') {
        at += 2;
    }
    return IsSeparator(path[at]) ? at + 1 : at;
}

// Appends the decimal digits of a positive value.
size_t AppendNumber(int value, char16_t* text, size_t at, size_t capacity) {
    char16_t digits[12];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0 && count < sizeof digits / sizeof digits[0]);
    while (count > 0 && at + 1 < capacity) {
        text[at++] = digits[--count];
    }
    return at;
}

size_t AppendChar(char16_t c, char16_t* text, size_t at, size_t capacity) {
    if (at + 1 < capacity) {
        text[at++] = c;
    }
    return at;
}

}  // namespace

const char16_t* FolderNameOf(const char16_t* path, size_t* length) {
    *length = 0;
    if (path == nullptr) {
        return nullptr;
    }
    const size_t root = RootLength(path);
    size_t folderStart = root;
    size_t folderEnd = root;  // the last separator after the root, which ends the folder
    bool found = false;
    for (size_t at = root; path[at] != 0; ++at) {
        if (IsSeparator(path[at])) {
            if (found) {
                folderStart = folderEnd + 1;
            }
            folderEnd = at;
            found = true;
        }
    }
    if (!found) {
        return path + root;
    }
    *length = folderEnd - folderStart;
    return path + folderStart;
}

size_t ComposeCaption(const CalendarDate* date, const char16_t* path, char16_t* text, size_t capacity) {
    if (capacity == 0) {
        return 0;
    }
    size_t at = 0;
    if (date != nullptr) {
        at = AppendNumber(date->year, text, at, capacity);
        at = AppendChar(YEAR_MARK, text, at, capacity);
        at = AppendNumber(date->month, text, at, capacity);
        at = AppendChar(MONTH_MARK, text, at, capacity);
        at = AppendNumber(date->day, text, at, capacity);
        at = AppendChar(DAY_MARK, text, at, capacity);
    }
    size_t folderLength = 0;
    const char16_t* folder = FolderNameOf(path, &folderLength);
    if (folderLength > 0) {
        if (at > 0) {
            at = AppendChar(IDEOGRAPHIC_SPACE, text, at, capacity);
        }
        for (size_t i = 0; i < folderLength; ++i) {
            at = AppendChar(folder[i], text, at, capacity);
        }
    }
    text[at] = 0;
    return at;
}
