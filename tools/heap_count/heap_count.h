// Counts what a program does on the heap through operator new: allocations made so
// far, and blocks and bytes alive right now. A program that links this replaces the
// global operator new and delete (every form, as a matched set, so no block is made
// by one allocator and freed by another); bench and runner do, the tests do not.
#pragma once

namespace heap_count {

long long allocations();
long long liveBlocks();
long long liveBytes();

} // namespace heap_count
