// The renderer's per-pixel helpers with SSE2, the form x86-64 runs: the conversion
// instruction rounds, saturating byte adds brighten, and four sprite rows are sampled
// in the four lanes of a register. render/simd_portable.h holds the plain twins, which
// the tests hold these against.
#pragma once

#include "render/rotozoom_plan.h"
#include "render/simd_portable.h"

#include <emmintrin.h>
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include <cstdint>
#include <cstring>

namespace simd_sse2 {

// Nearest, ties to even; NaN and values out of the int range give INT32_MIN. In the
// browser, whose emulation of the two SSE conversions calls lrint lane by lane, the
// same answers come from WebAssembly's own rounding and a range test.
inline int32_t roundToInt(float value)
{
#if defined(__wasm_simd128__)
    return simd_portable::roundToInt(value);
#else
    return _mm_cvtss_si32(_mm_set_ss(value));
#endif
}

inline __m128i roundToInts(__m128 values)
{
#if defined(__wasm_simd128__)
    const v128_t nearest = wasm_f32x4_nearest(v128_t(values));
    const v128_t inRange = wasm_v128_and(wasm_f32x4_ge(nearest, wasm_f32x4_splat(-0x1p31f)),
                                         wasm_f32x4_lt(nearest, wasm_f32x4_splat(0x1p31f)));
    return __m128i(wasm_v128_bitselect(wasm_i32x4_trunc_sat_f32x4(nearest), wasm_i32x4_splat(INT32_MIN), inRange));
#else
    return _mm_cvtps_epi32(values);
#endif
}

inline uint32_t addBytesSaturated(uint32_t packed, uint32_t offset)
{
    return uint32_t(_mm_cvtsi128_si32(_mm_adds_epu8(_mm_cvtsi32_si128(int(packed)), _mm_cvtsi32_si128(int(offset)))));
}

inline uint32_t subtractBytesSaturated(uint32_t packed, uint32_t offset)
{
    return uint32_t(_mm_cvtsi128_si32(_mm_subs_epu8(_mm_cvtsi32_si128(int(packed)), _mm_cvtsi32_si128(int(offset)))));
}

// All four bytes move towards the texel's by opacity / 256, on 16-bit lanes. The
// product (src - dst) * opacity may wrap in 16 bits, but the arithmetic shift keeps
// floor(product / 256) modulo 256, and the exact result lies in 0..255, so masking the
// sum to 8 bits gives it back.
inline uint32_t blendBytes(uint32_t dst, uint32_t texel, int32_t opacity)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i s = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int32_t(texel)), zero);
    const __m128i d = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int32_t(dst)), zero);
    const __m128i step = _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(s, d), _mm_set1_epi16(int16_t(opacity))), 8);
    const __m128i sum = _mm_and_si128(_mm_add_epi16(d, step), _mm_set1_epi16(0xFF));
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
}

// Four pixels at a time: a texel equal to the key keeps the row's pixel, so the vector
// store writes back what was there.
inline void copyKeyed(uint32_t* to, const uint8_t* from, int64_t count, uint32_t key)
{
    const __m128i keys = _mm_set1_epi32(int(key));
    int64_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i texels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i * 4));
        const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        const __m128i keyed = _mm_cmpeq_epi32(texels, keys);
        const __m128i result = _mm_or_si128(_mm_and_si128(keyed, below), _mm_andnot_si128(keyed, texels));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), result);
    }
    simd_portable::copyKeyed(to + i, from + i * 4, count - i, key);
}

// Every texel offset of such a source, ty * pitch / 4 + tx, is one 16-bit multiply-add.
inline bool fitsSixteenBits(const rotozoom::Source& src)
{
    return src.width < 32768 && src.height < 32768 && src.pitch % 4 == 0 && src.pitch / 4 < 32768;
}

// Four rows of a source that fits 16 bits: the bounds test and the texel offsets are
// done for all four lanes at once, leaving only the look-up and the put per pixel.
template <class Put>
void drawFourRowsNarrow(const rotozoom::Source& src, int columns, __m128 x, __m128 y, __m128 stepX, __m128 stepY,
                        uint32_t* const (&out)[4], const Put& put)
{
    // Signed compares of values with the sign bit flipped are unsigned compares, so
    // negative coordinates (and INT32_MIN from NaN) fail with the too-large ones.
    const __m128i flip = _mm_set1_epi32(INT32_MIN);
    const __m128i widthLimit = _mm_set1_epi32(int32_t(src.width ^ 0x80000000u));
    const __m128i heightLimit = _mm_set1_epi32(int32_t(src.height ^ 0x80000000u));
    const __m128i lowHalf = _mm_set1_epi32(0xFFFF);
    const __m128i weights = _mm_set1_epi32(int32_t(1u | uint32_t(src.pitch / 4) << 16));
    for (int c = 0; c < columns; ++c) {
        const __m128i tx = roundToInts(x), ty = roundToInts(y);
        x = _mm_add_ps(x, stepX);
        y = _mm_add_ps(y, stepY);
        const __m128i inside = _mm_and_si128(_mm_cmplt_epi32(_mm_xor_si128(tx, flip), widthLimit),
                                             _mm_cmplt_epi32(_mm_xor_si128(ty, flip), heightLimit));
        const int lanes = _mm_movemask_ps(_mm_castsi128_ps(inside));
        if (lanes == 0) continue;
        // Lanes that passed hold tx and ty below 32768: (tx, ty) . (1, pitch / 4).
        alignas(16) int32_t offset[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(offset),
                        _mm_madd_epi16(_mm_or_si128(_mm_and_si128(tx, lowHalf), _mm_slli_epi32(ty, 16)), weights));
        for (int k = 0; k < 4; ++k) {
            if (!(lanes >> k & 1)) continue;
            uint32_t texel;
            std::memcpy(&texel, src.pixels + size_t(uint32_t(offset[k])) * 4, sizeof texel);
            put(out[k][c], texel);
        }
    }
}

// Four sprite rows, one per lane: lane k starts at (x[k], y[k]), steps by (stepX,
// stepY) per column and puts its texels into out[k]. Lanes add as the scalar unit
// does, so each lane's positions are those of its row drawn alone.
template <class Put>
void drawFourRows(const rotozoom::Source& src, int columns, const float (&startX)[4], const float (&startY)[4],
                  float stepX, float stepY, uint32_t* const (&out)[4], const Put& put)
{
    __m128 x = _mm_loadu_ps(startX), y = _mm_loadu_ps(startY);
    const __m128 stepXs = _mm_set1_ps(stepX), stepYs = _mm_set1_ps(stepY);
    if (fitsSixteenBits(src)) {
        drawFourRowsNarrow(src, columns, x, y, stepXs, stepYs, out, put);
        return;
    }
    for (int c = 0; c < columns; ++c) {
        alignas(16) int32_t tx[4], ty[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(tx), roundToInts(x));
        _mm_store_si128(reinterpret_cast<__m128i*>(ty), roundToInts(y));
        x = _mm_add_ps(x, stepXs);
        y = _mm_add_ps(y, stepYs);
        for (int k = 0; k < 4; ++k) {
            uint32_t texel;
            if (rotozoom::readTexel(src, tx[k], ty[k], texel)) put(out[k][c], texel);
        }
    }
}

} // namespace simd_sse2
