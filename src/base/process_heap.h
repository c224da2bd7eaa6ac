// Zero-filled blocks on the process heap: the storage of strings and arrays.
#pragma once

#include <cstddef>

// A new zero-filled block, or null when the heap refuses it.
void* HeapBlockAlloc(std::size_t size);

// Resizes a block, zero-filling any growth; null block means a new one. Returns
// null (and leaves the old block untouched) when the heap refuses.
void* HeapBlockResize(void* block, std::size_t size);

// Frees a block; null is ignored.
void HeapBlockFree(void* block);

// Owns a block of the process heap within a scope and frees it on exit.
class ScopedHeapBlock {
public:
    explicit ScopedHeapBlock(void* block) : block_(block) {}
    ~ScopedHeapBlock() { HeapBlockFree(block_); }
    ScopedHeapBlock(const ScopedHeapBlock&) = delete;
    ScopedHeapBlock& operator=(const ScopedHeapBlock&) = delete;

    void* Get() const { return block_; }
    unsigned char* Bytes() const { return static_cast<unsigned char*>(block_); }
    // Hands the block on; the caller frees it.
    void* Detach() {
        void* block = block_;
        block_ = nullptr;
        return block;
    }

private:
    void* block_;
};

