// Counts every operator new of the bench program, so a benchmark can report how many
// allocations its timed loop made. Kept in a unit of its own: inlined into a caller,
// the malloc inside new would look mismatched with the library's delete.
#pragma once

long long allocationCount();
