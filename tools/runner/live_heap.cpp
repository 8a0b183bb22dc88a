// Global operator new and delete over malloc, keeping a count of live blocks and
// their usable bytes. One thread: the headless game runs on the main thread only.
#include "live_heap.h"

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {
long long liveBlocks = 0;
long long liveBytes = 0;

void* allocate(std::size_t size)
{
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (!memory) throw std::bad_alloc();
    ++liveBlocks;
    liveBytes += static_cast<long long>(malloc_usable_size(memory));
    return memory;
}

void release(void* memory) noexcept
{
    if (!memory) return;
    --liveBlocks;
    liveBytes -= static_cast<long long>(malloc_usable_size(memory));
    std::free(memory);
}
} // namespace

long long live_heap::blocks() { return liveBlocks; }
long long live_heap::bytes() { return liveBytes; }

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* memory) noexcept { release(memory); }
void operator delete[](void* memory) noexcept { release(memory); }
void operator delete(void* memory, std::size_t) noexcept { release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { release(memory); }
