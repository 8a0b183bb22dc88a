// The bench program's counting operator new and delete over malloc. Every form is
// replaced, not only the plain new: a block made here and freed by the library's own
// delete (or the other way round) is a mismatch that ASan aborts on.
#include "allocation_count.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
long long allocations = 0; // the benchmarks run on one thread

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
    if (memory) ++allocations;
    return memory;
}

void* allocate(std::size_t size, std::size_t alignment = 0)
{
    if (void* memory = tryAllocate(size, alignment)) return memory;
    throw std::bad_alloc();
}

void release(void* memory) noexcept { std::free(memory); }
} // namespace

long long allocationCount() { return allocations; }

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
