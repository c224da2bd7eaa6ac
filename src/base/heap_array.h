// A growable array of plain values on the process heap that doubles its room
// when full, for lists that grow to hundreds of thousands of items one at a time.
#pragma once

#include <cstddef>
#include <cstring>

#include "base/process_heap.h"

template <typename T>
class HeapArray {
public:
    HeapArray() = default;
    ~HeapArray() { HeapBlockFree(items_); }
    HeapArray(const HeapArray&) = delete;
    HeapArray& operator=(const HeapArray&) = delete;

    // Appends count values; false (nothing appended) when the heap refuses room.
    bool Append(const T* values, std::size_t count) {
        if (!Reserve(count_ + count)) {
            return false;
        }
        std::memcpy(items_ + count_, values, count * sizeof(T));
        count_ += count;
        return true;
    }
    bool Append(const T& value) { return Append(&value, 1); }

    std::size_t Count() const { return count_; }
    T& operator[](std::size_t index) { return items_[index]; }
    const T& operator[](std::size_t index) const { return items_[index]; }

    // Forgets the values from count on; the room stays.
    void Truncate(std::size_t count) {
        if (count < count_) {
            count_ = count;
        }
    }

private:
    bool Reserve(std::size_t needed) {
        if (needed <= room_) {
            return true;
        }
        std::size_t room = room_ < 16 ? 16 : room_;
        while (room < needed) {
            if (room > static_cast<std::size_t>(-1) / 2 / sizeof(T)) {
                return false;
            }
            room *= 2;
        }
        T* grown = static_cast<T*>(HeapBlockResize(items_, room * sizeof(T)));
        if (grown == nullptr) {
            return false;
        }
        items_ = grown;
        room_ = room;
        return true;
    }

    T* items_ = nullptr;
    std::size_t count_ = 0;
    std::size_t room_ = 0;
};
