// Copying and comparing wide text without the system's lstr*W functions: the
// 95/98 family has them only as stubs that fail, lstrlenW aside.
#pragma once

#include <cstddef>

// Copies text into target (size characters), cut to size - 1 characters and
// terminated; gives the characters copied.
inline int CopyWide(wchar_t* target, const wchar_t* text, std::size_t size) {
    std::size_t i = 0;
    for (; i + 1 < size && text[i] != L'\0'; ++i) {
        target[i] = text[i];
    }
    if (size > 0) {
        target[i] = L'\0';
    }
    return static_cast<int>(i);
}

// c in lower case when it is an ASCII capital; file extensions are ASCII, and
// no locale decides their case.
inline wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Whether the two texts are the same, character for character.
inline bool SameWide(const wchar_t* a, const wchar_t* b) {
    while (*a != L'\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}
