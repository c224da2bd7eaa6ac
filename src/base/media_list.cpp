#include "base/media_list.h"

#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

class IndexCell : public OwnedObject {
public:
    explicit IndexCell(int index) : value(index) {}
    int value;
};

}  // namespace

bool OrderArray::Append(int index) {
    IndexCell* cell = new (std::nothrow) IndexCell(index);
    if (cell == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (!cells_.Append(cell)) {
        delete cell;
        return false;
    }
    return true;
}

int OrderArray::At(int position) const {
    return static_cast<const IndexCell*>(cells_.Get(position))->value;
}

bool MediaList::Add(const char* path) {
    if (!order_.Append(paths_.Count())) {
        return false;
    }
    if (!paths_.Add(path)) {
        order_.RemoveLast();
        return false;
    }
    return true;
}

const char* MediaList::Next(bool shuffle) {
    const int count = order_.Count();
    if (count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (cursor_ == 0 && shuffle) {
        Shuffle();
    }
    const char* path = paths_.Get(order_.At(cursor_));
    ++cursor_;
    if (cursor_ >= count) {
        cursor_ = 0;
    }
    return path;
}

void MediaList::Shuffle() {
    const int count = order_.Count();
    for (int i = 0; i < count; ++i) {
        const int j = std::rand() % count;
        if (j != i) {
            order_.Swap(i, j);
        }
    }
}
