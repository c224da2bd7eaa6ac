// A heap copy of one text, terminator included.
#pragma once

#include "base/owned_object.h"

// The bytes of an OwnedString: exactly the text and its terminator.
class TextBuffer {
public:
    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer();

    char* data = nullptr;  // null while no text was set
    int size = 0;          // bytes held, terminator included
};

class OwnedString : public OwnedObject {
public:
    // Replaces the content with a copy of text. False for a null text, and with
    // ERROR_INVALID_PARAMETER (length overflow) or ERROR_NOT_ENOUGH_MEMORY; the
    // old text stays on failure.
    bool SetText(const char* text);

    // The current bytes; null while no text was ever set.
    const char* Text() const { return buffer_.data; }

private:
    TextBuffer buffer_;
};
