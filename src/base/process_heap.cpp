#include "base/process_heap.h"

#include <windows.h>

void* HeapBlockAlloc(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void* HeapBlockResize(void* block, std::size_t size) {
    if (block == nullptr) {
        return HeapBlockAlloc(size);
    }
    return HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, block, size);
}

void HeapBlockFree(void* block) {
    if (block != nullptr) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}
