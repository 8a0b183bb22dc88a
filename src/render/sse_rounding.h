// Float to nearest integer through the SSE conversion, shared by the triangle fillers
// and the sprite drawers so both round every coordinate the same way: ties to even
// (the default rounding mode, which the program never changes). On WebAssembly, whose
// emulation of these two conversions calls lrint lane by lane, the same results come
// from its own rounding (f32.nearest) and a range test.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace sse_rounding {

// NaN and values out of the int range give INT32_MIN, as the hardware conversion does,
// instead of the undefined behaviour of a C++ cast; callers' unsigned bounds tests
// then reject it.
inline int32_t roundToInt(float value)
{
#if defined(__wasm_simd128__)
    const float nearest = __builtin_rintf(value);
    return nearest >= -2147483648.0f && nearest < 2147483648.0f ? int32_t(nearest) : INT32_MIN;
#else
    return _mm_cvtss_si32(_mm_set_ss(value));
#endif
}

// Four lanes at once, as _mm_cvtps_epi32.
inline __m128i roundToInts(__m128 values)
{
#if defined(__wasm_simd128__)
    const v128_t nearest = wasm_f32x4_nearest(v128_t(values));
    const v128_t inRange = wasm_v128_and(wasm_f32x4_ge(nearest, wasm_f32x4_splat(-2147483648.0f)),
                                         wasm_f32x4_lt(nearest, wasm_f32x4_splat(2147483648.0f)));
    return __m128i(wasm_v128_bitselect(wasm_i32x4_trunc_sat_f32x4(nearest), wasm_i32x4_splat(INT32_MIN), inRange));
#else
    return _mm_cvtps_epi32(values);
#endif
}

} // namespace sse_rounding
