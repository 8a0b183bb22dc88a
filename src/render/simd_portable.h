// The renderer's per-pixel helpers in plain C++: the form for processors without SSE2,
// and on x86-64 the one the PORTABLE_PATHS build tests. Each does bit for bit what its
// twin in render/simd_sse2.h does, down to the answers for NaN and out-of-range values.
#pragma once

#include "render/rotozoom_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace simd_portable {

// Nearest, ties to even: the default rounding mode, which the program never changes.
// NaN and values out of the int range give INT32_MIN, as the SSE conversion does,
// instead of the undefined behaviour of a C++ cast; callers' unsigned bounds tests
// then reject it.
inline int32_t roundToInt(float value)
{
    if (!(value >= -0x1p31f && value < 0x1p31f)) return INT32_MIN;
    return int32_t(std::nearbyint(value));
}

// Each of the four bytes plus, or minus, the offset's byte, held within 0..255.
inline uint32_t addBytesSaturated(uint32_t packed, uint32_t offset)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t sum = (packed >> shift & 0xFF) + (offset >> shift & 0xFF);
        result |= std::min(sum, 0xFFu) << shift;
    }
    return result;
}

inline uint32_t subtractBytesSaturated(uint32_t packed, uint32_t offset)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t a = packed >> shift & 0xFF, b = offset >> shift & 0xFF;
        result |= (a > b ? a - b : 0u) << shift;
    }
    return result;
}

// All four bytes move towards the texel's by opacity / 256. The product is kept in 16
// bits, where it may wrap, as the vector form keeps it: the arithmetic shift still
// gives floor(product / 256) modulo 256, and the masked sum is the exact result.
inline uint32_t blendBytes(uint32_t dst, uint32_t texel, int32_t opacity)
{
    const int32_t weight = int16_t(opacity);
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int32_t s = int32_t(texel >> shift & 0xFF), d = int32_t(dst >> shift & 0xFF);
        const int16_t product = int16_t((s - d) * weight);
        result |= uint32_t((d + (product >> 8)) & 0xFF) << shift;
    }
    return result;
}

// count texels onto a row, except those equal to the key, which keep the row's pixel.
inline void copyKeyed(uint32_t* to, const uint8_t* from, int64_t count, uint32_t key)
{
    for (int64_t i = 0; i < count; ++i) {
        uint32_t texel;
        std::memcpy(&texel, from + i * 4, sizeof texel);
        if (texel != key) to[i] = texel;
    }
}

// Four sprite rows side by side: lane k starts at (x[k], y[k]), steps by (stepX,
// stepY) per column and puts its texels into out[k]. Each lane's position is the
// same serial chain of float additions as in a row drawn alone.
template <class Put>
void drawFourRows(const rotozoom::Source& src, int columns, const float (&startX)[4], const float (&startY)[4],
                  float stepX, float stepY, uint32_t* const (&out)[4], const Put& put)
{
    float x[4], y[4];
    std::copy(startX, startX + 4, x);
    std::copy(startY, startY + 4, y);
    for (int c = 0; c < columns; ++c) {
        for (int k = 0; k < 4; ++k) {
            uint32_t texel;
            if (rotozoom::readTexel(src, roundToInt(x[k]), roundToInt(y[k]), texel)) put(out[k][c], texel);
            x[k] += stepX;
            y[k] += stepY;
        }
    }
}

} // namespace simd_portable
