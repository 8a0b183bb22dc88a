// Counts every operator new of the bench program (all forms, array, nothrow and
// aligned), so a benchmark can report how many allocations its timed loop made. The
// counting new and delete live in a unit of their own, replaced as a matched set.
#pragma once

long long allocationCount();
