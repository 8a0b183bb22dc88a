// Counts what the runner's program holds on the heap through operator new: blocks
// and bytes alive right now. The runner links its own replacement of the global
// operator new and delete, so every container of the game is counted.
#pragma once

#include <cstddef>

namespace live_heap {

long long blocks();
long long bytes();

} // namespace live_heap
