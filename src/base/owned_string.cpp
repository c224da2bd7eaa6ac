#include "base/owned_string.h"

#include <windows.h>

#include <climits>
#include <cstring>

#include "base/process_heap.h"

TextBuffer::~TextBuffer() {
    HeapBlockFree(data);
    data = nullptr;
    size = 0;
}

bool OwnedString::SetText(const char* text) {
    if (text == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(text);
    if (length >= static_cast<std::size_t>(INT_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const int n = static_cast<int>(length) + 1;
    void* block = HeapBlockResize(buffer_.data, static_cast<std::size_t>(n));
    if (block == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    buffer_.data = static_cast<char*>(block);
    buffer_.size = n;
    std::memcpy(buffer_.data, text, static_cast<std::size_t>(n));
    return true;
}
