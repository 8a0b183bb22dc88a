// Float to nearest integer through the SSE conversion, shared by the triangle fillers
// and the sprite drawers so both round every coordinate the same way: ties to even
// (the default rounding mode, which the program never changes).
#pragma once

#include <xmmintrin.h>

#include <cstdint>

namespace sse_rounding {

// NaN and values out of the int range give INT32_MIN, as the hardware conversion does,
// instead of the undefined behaviour of a C++ cast; callers' unsigned bounds tests
// then reject it.
inline int32_t roundToInt(float value) { return _mm_cvtss_si32(_mm_set_ss(value)); }

} // namespace sse_rounding
