// Without SSE2 the plain byte-by-byte unfiltering takes every row: a compiler turns
// its Up filter into vector code by itself, and the other filters chain each byte to
// the one a pixel before, which leaves a portable vector form little to gain.
#pragma once

#include <cstddef>
#include <cstdint>

namespace png::unfilter_portable {

// Takes no row, so that the plain code takes them all.
inline bool unfilterWholePixels(uint8_t, uint8_t*, const uint8_t*, size_t, size_t) { return false; }

} // namespace png::unfilter_portable
