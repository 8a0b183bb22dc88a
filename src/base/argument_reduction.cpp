#include "base/argument_reduction.h"

#include "base/bit_cast.h"
#include "base/exact_math_tables.h"

#include <cstdint>

namespace exact {

namespace {

using tables::kTwoOverPiBits;

// The words of 2/pi taken for one product: with the 53-bit significand they give at
// least 190 bits below the binary point, 138 of them free of the words left out.
constexpr int kWordsUsed = 7;
constexpr int kProductLimbs = kWordsUsed + 2;
constexpr int kFractionWords = 5;

struct WideProduct {
    uint32_t limbs[kProductLimbs] = {}; // least significant first
};

WideProduct multiplyByWords(uint64_t significand, const uint32_t* words)
{
    WideProduct p;
    const uint32_t halves[2] = {static_cast<uint32_t>(significand), static_cast<uint32_t>(significand >> 32)};
    for (int h = 0; h < 2; ++h) {
        uint64_t carry = 0;
        for (int w = 0; w < kWordsUsed; ++w) {
            const uint64_t word = words[kWordsUsed - 1 - w];
            const uint64_t sum = uint64_t(halves[h]) * word + p.limbs[h + w] + carry;
            p.limbs[h + w] = static_cast<uint32_t>(sum);
            carry = sum >> 32;
        }
        p.limbs[h + kWordsUsed] = static_cast<uint32_t>(carry);
    }
    return p;
}

// The 32 bits of p from bit index first up (first >= 0).
uint32_t bitsFrom(const WideProduct& p, int first)
{
    const int limb = first / 32, shift = first % 32;
    const uint64_t low = limb < kProductLimbs ? p.limbs[limb] : 0;
    const uint64_t high = limb + 1 < kProductLimbs ? p.limbs[limb + 1] : 0;
    return static_cast<uint32_t>(((high << 32) | low) >> shift);
}

// ax = significand * 2^exponent, ax >= kModerateAngle, finite. Only the terms of
// significand * 2/pi below 2^2 matter (the rest are whole turns), so the words of
// 2/pi whose products lie wholly above are skipped.
ReducedAngle reduceHuge(double ax)
{
    const uint64_t bits = bits::cast<uint64_t>(ax);
    const int exponent = static_cast<int>(bits >> 52) - 1075;
    const uint64_t significand = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
    const int firstWord = exponent >= 2 ? (exponent - 2) / 32 : 0;
    const WideProduct p = multiplyByWords(significand, kTwoOverPiBits + firstWord);
    const int unitBit = 32 * (firstWord + kWordsUsed) - exponent; // the bit of weight 1

    int quadrant = static_cast<int>(bitsFrom(p, unitBit) & 3);
    uint32_t fraction[kFractionWords];
    for (int i = 0; i < kFractionWords; ++i) fraction[i] = bitsFrom(p, unitBit - 32 * (i + 1));
    // At or past one half, the nearest quadrant is the next: take 1 - fraction, negated.
    const bool upper = (fraction[0] >> 31) != 0;
    if (upper) {
        ++quadrant;
        uint64_t borrow = 1;
        for (int i = kFractionWords - 1; i >= 0; --i) {
            const uint64_t negated = uint64_t(~fraction[i]) + borrow;
            fraction[i] = static_cast<uint32_t>(negated);
            borrow = negated >> 32;
        }
    }
    DoubleDouble turns = {0.0, 0.0};
    double weight = 0x1p-32;
    for (int i = 0; i < kFractionWords; ++i, weight *= 0x1p-32) turns = add(turns, {fraction[i] * weight, 0.0});
    const DoubleDouble remainder = multiply(turns, tables::kHalfPi);
    return {upper ? negate(remainder) : remainder, quadrant & 3};
}

} // namespace

ReducedAngle reduceHugeAngle(double x)
{
    const ReducedAngle reduced = reduceHuge(magnitude(x));
    if (x > 0) return reduced;
    return {negate(reduced.remainder), (4 - reduced.quadrant) & 3};
}

} // namespace exact
