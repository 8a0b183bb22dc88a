// Global operator new and delete over malloc, counting allocations and keeping a
// count of live blocks and their usable bytes. One thread: the headless game and the
// benchmarks run on the main thread only.
#include "heap_count.h"

#include <cstddef>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {
long long allocationsMade = 0;
long long blocksAlive = 0;
long long bytesAlive = 0;

// Null when there is no memory; the throwing forms turn that into bad_alloc.
void* tryAllocate(std::size_t size, std::size_t alignment = 0) noexcept
{
    if (size == 0) size = 1;
    void* memory = nullptr;
    if (alignment <= alignof(std::max_align_t)) {
        memory = std::malloc(size);
    } else if (posix_memalign(&memory, alignment, size) != 0) {
        memory = nullptr;
    }
    if (!memory) return nullptr;
    ++allocationsMade;
    ++blocksAlive;
    bytesAlive += static_cast<long long>(malloc_usable_size(memory));
    return memory;
}

void* allocate(std::size_t size, std::size_t alignment = 0)
{
    if (void* memory = tryAllocate(size, alignment)) return memory;
    throw std::bad_alloc();
}

void release(void* memory) noexcept
{
    if (!memory) return;
    --blocksAlive;
    bytesAlive -= static_cast<long long>(malloc_usable_size(memory));
    std::free(memory);
}
} // namespace

long long heap_count::allocations() { return allocationsMade; }
long long heap_count::liveBlocks() { return blocksAlive; }
long long heap_count::liveBytes() { return bytesAlive; }

// Every form, so that no block is made by one allocator and freed by another.
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return tryAllocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return tryAllocate(size); }
void* operator new(std::size_t size, std::align_val_t align) { return allocate(size, std::size_t(align)); }
void* operator new[](std::size_t size, std::align_val_t align) { return allocate(size, std::size_t(align)); }
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept
{
    return tryAllocate(size, std::size_t(align));
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept
{
    return tryAllocate(size, std::size_t(align));
}
void operator delete(void* memory) noexcept { release(memory); }
void operator delete[](void* memory) noexcept { release(memory); }
void operator delete(void* memory, std::size_t) noexcept { release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { release(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { release(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { release(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { release(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { release(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { release(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { release(memory); }
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept { release(memory); }
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept { release(memory); }
