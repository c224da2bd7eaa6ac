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
