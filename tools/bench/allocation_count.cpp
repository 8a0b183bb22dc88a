// The bench program's counting operator new. Only new is replaced: the library's
// operator delete releases with free, which matches the malloc here.
#include "allocation_count.h"

#include <cstdlib>
#include <new>

namespace {
long long allocations = 0; // the benchmarks run on one thread
} // namespace

long long allocationCount() { return allocations; }

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
