// A growable array of owned, polymorphic elements on the process heap. It grows
// by exactly one slot per append and never holds spare capacity.
#pragma once

#include "base/owned_object.h"

class ObjectArray {
public:
    ObjectArray() = default;
    ObjectArray(const ObjectArray&) = delete;
    ObjectArray& operator=(const ObjectArray&) = delete;
    virtual ~ObjectArray();

    // Appends element as the new last item; the array owns it from then on.
    // On failure (ERROR_NOT_ENOUGH_MEMORY) the array is unchanged and the
    // element still belongs to the caller.
    bool Append(OwnedObject* element);

    // The element at index, or null (ERROR_INVALID_PARAMETER) when out of range.
    OwnedObject* Get(int index) const;

    // Exchanges two elements; both indexes must be in range.
    void Swap(int first, int second);

    // Deletes the last element (when owning) and shrinks the array by one slot.
    void RemoveLast();

    int Count() const { return count_; }

    // Deletes every element (when owning), in index order, and frees the array.
    void Clear();

private:
    OwnedObject** items_ = nullptr;  // null while empty
    int count_ = 0;
    bool ownsItems_ = true;
};
