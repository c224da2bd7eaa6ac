// A list of owned texts, used for the user's entries and for file paths.
#pragma once

#include "base/object_array.h"

class StringList {
public:
    StringList() = default;
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;
    virtual ~StringList() = default;

    // Appends a copy of text. A failed Add leaves the list as it was.
    bool Add(const char* text);

    // The text of element index, or null with ERROR_INVALID_PARAMETER when out of range.
    const char* Get(int index) const;

    int Count() const { return items_.Count(); }

    // Deletes every element; the list stays usable.
    void Clear() { items_.Clear(); }

private:
    ObjectArray items_;
};
