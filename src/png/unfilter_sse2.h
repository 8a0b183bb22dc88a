// Row unfiltering with SSE2 for 3 and 4 bytes per pixel (8-bit RGB and RGBA, the
// images the programs load): one whole pixel per step in a register, so the chain from
// each pixel to the next stays short. Other sizes, and the first row of a pass, go to
// the scalar code, which the tests hold this against byte for byte.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace png::unfilter_sse2 {

// Exactly bpp bytes are stored: a wider store would overwrite the next row's filter
// byte. Loads take a whole word where the row still has one, since the spare byte only
// travels in its own lane; at the row's end they take exactly bpp bytes, so nothing is
// read past the data. Going through a word in a register, not a 3-byte copy in memory,
// avoids a store-forwarding stall on every pixel.
template <size_t kBpp> inline __m128i loadPixel(const uint8_t* p, size_t i, size_t length)
{
    uint32_t word;
    if (kBpp == 4 || i + 4 <= length) std::memcpy(&word, p + i, 4);
    else word = uint32_t(p[i]) | uint32_t(p[i + 1]) << 8 | uint32_t(p[i + 2]) << 16;
    return _mm_cvtsi32_si128(int(word));
}

template <size_t kBpp> inline void storePixel(uint8_t* p, __m128i v)
{
    const uint32_t word = uint32_t(_mm_cvtsi128_si32(v));
    if constexpr (kBpp == 4) {
        std::memcpy(p, &word, 4);
    } else {
        const uint16_t low = uint16_t(word);
        std::memcpy(p, &low, 2);
        p[2] = uint8_t(word >> 16);
    }
}

template <size_t kBpp> inline void undoSub(uint8_t* row, size_t length)
{
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i + kBpp <= length; i += kBpp) {
        left = _mm_add_epi8(loadPixel<kBpp>(row, i, length), left);
        storePixel<kBpp>(row + i, left);
    }
}

inline void undoUp(uint8_t* row, const uint8_t* prior, size_t length)
{
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        const __m128i sum = _mm_add_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(prior + i)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), sum);
    }
    for (; i < length; ++i) row[i] = uint8_t(row[i] + prior[i]);
}

template <size_t kBpp> inline void undoAverage(uint8_t* row, const uint8_t* prior, size_t length)
{
    const __m128i one = _mm_set1_epi8(1);
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i + kBpp <= length; i += kBpp) {
        const __m128i above = loadPixel<kBpp>(prior, i, length);
        // pavgb rounds up; taking off the low bit of a ^ b makes it the floor.
        const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(left, above), _mm_and_si128(_mm_xor_si128(left, above), one));
        left = _mm_add_epi8(loadPixel<kBpp>(row, i, length), mean);
        storePixel<kBpp>(row + i, left);
    }
}

inline __m128i absolute16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

// Selects a where mask is set, b elsewhere.
inline __m128i select(__m128i mask, __m128i a, __m128i b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }

template <size_t kBpp> inline void undoPaeth(uint8_t* row, const uint8_t* prior, size_t length)
{
    // Bytes widened to 16-bit lanes so the distances cannot wrap.
    const __m128i zero = _mm_setzero_si128();
    __m128i left = zero;
    __m128i upperLeft = zero;
    for (size_t i = 0; i + kBpp <= length; i += kBpp) {
        const __m128i above = _mm_unpacklo_epi8(loadPixel<kBpp>(prior, i, length), zero);
        // p - left = above - upperLeft, p - above = left - upperLeft, p - upperLeft = both.
        const __m128i toAbove = _mm_sub_epi16(above, upperLeft);
        const __m128i toLeft = _mm_sub_epi16(left, upperLeft);
        const __m128i pa = absolute16(toAbove);
        const __m128i pb = absolute16(toLeft);
        const __m128i pc = absolute16(_mm_add_epi16(toAbove, toLeft));
        const __m128i smallest = _mm_min_epi16(pa, _mm_min_epi16(pb, pc));
        // Ties go to left, then above, as the predictor's order of tests says.
        __m128i predicted = select(_mm_cmpeq_epi16(pb, smallest), above, upperLeft);
        predicted = select(_mm_cmpeq_epi16(pa, smallest), left, predicted);
        const __m128i packed = _mm_add_epi8(loadPixel<kBpp>(row, i, length), _mm_packus_epi16(predicted, zero));
        storePixel<kBpp>(row + i, packed);
        left = _mm_unpacklo_epi8(packed, zero);
        upperLeft = above;
    }
}

template <size_t kBpp> inline void unfilterPixels(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t length)
{
    switch (filter) {
    case 1: undoSub<kBpp>(row, length); break;
    case 2: undoUp(row, prior, length); break;
    case 3: undoAverage<kBpp>(row, prior, length); break;
    case 4: undoPaeth<kBpp>(row, prior, length); break;
    default: break;
    }
}

// Unfilters a row of 3- or 4-byte pixels below another row and returns true; false,
// touching nothing, for every other row. filter is at most 4.
inline bool unfilterWholePixels(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t length,
                                size_t bytesPerPixel)
{
    // Rows of 3- and 4-byte pixels are whole pixels, so the pixel loops cover every byte.
    if (prior && bytesPerPixel == 3) unfilterPixels<3>(filter, row, prior, length);
    else if (prior && bytesPerPixel == 4) unfilterPixels<4>(filter, row, prior, length);
    else return false;
    return true;
}

} // namespace png::unfilter_sse2
