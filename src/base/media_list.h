// A list of file paths handed out one at a time, in the order added or
// shuffled afresh at the start of every pass.
#pragma once

#include "base/object_array.h"
#include "base/string_list.h"

// Index cells into the path list; shuffling permutes the cells, never the paths.
class OrderArray {
public:
    bool Append(int index);
    int At(int position) const;
    void Swap(int first, int second) { cells_.Swap(first, second); }
    void RemoveLast() { cells_.RemoveLast(); }
    int Count() const { return cells_.Count(); }

private:
    ObjectArray cells_;
};

class MediaList {
public:
    MediaList() = default;
    MediaList(const MediaList&) = delete;
    MediaList& operator=(const MediaList&) = delete;
    virtual ~MediaList() = default;

    // Appends a copy of path. False (ERROR_NOT_ENOUGH_MEMORY) leaves the list unchanged.
    bool Add(const char* path);

    int Count() const { return paths_.Count(); }

    // The next path. A pass that starts with shuffle set first reorders the
    // list: every position is swapped with a random one of the whole list,
    // starting from the order the previous pass left. The pointer lives as
    // long as the list. An empty list gives null and ERROR_INVALID_PARAMETER.
    const char* Next(bool shuffle);

private:
    void Shuffle();

    // Declared in this order so that the order cells are destroyed before the paths.
    StringList paths_;
    OrderArray order_;
    int cursor_ = 0;
};
