#include "base/object_array.h"

#include <windows.h>

#include "base/process_heap.h"

ObjectArray::~ObjectArray() {
    Clear();
}

bool ObjectArray::Append(OwnedObject* element) {
    const std::size_t slots = static_cast<std::size_t>(count_) + 1;
    void* grown = HeapBlockResize(items_, slots * sizeof(OwnedObject*));
    if (grown == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    items_ = static_cast<OwnedObject**>(grown);
    items_[count_] = element;
    ++count_;
    return true;
}

OwnedObject* ObjectArray::Get(int index) const {
    if (index < 0 || index >= count_) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return items_[index];
}

void ObjectArray::Swap(int first, int second) {
    OwnedObject* held = items_[first];
    items_[first] = items_[second];
    items_[second] = held;
}

void ObjectArray::RemoveLast() {
    if (count_ == 0) {
        return;
    }
    --count_;
    if (ownsItems_) {
        delete items_[count_];
    }
    if (count_ == 0) {
        HeapBlockFree(items_);
        items_ = nullptr;
        return;
    }
    // Shrinking a heap block cannot fail in practice; if it did, the larger
    // block simply stays in use.
    void* shrunk = HeapBlockResize(items_, static_cast<std::size_t>(count_) * sizeof(OwnedObject*));
    if (shrunk != nullptr) {
        items_ = static_cast<OwnedObject**>(shrunk);
    }
}

void ObjectArray::Clear() {
    if (ownsItems_) {
        for (int i = 0; i < count_; ++i) {
            delete items_[i];
        }
    }
    HeapBlockFree(items_);
    items_ = nullptr;
    count_ = 0;
}
