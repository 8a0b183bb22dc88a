// Reduction of an angle by multiples of pi/2, to a remainder in about [-pi/4, pi/4]
// held to about 2^-100 of its size: Cody and Waite's subtraction of pi/2 in parts for
// the angles the game meets (inline, as it is most of the work for them), Payne and
// Hanek's multiplication by the bits of 2/pi for the rest, so that even 1e300
// radians lands on the right remainder.
#pragma once

#include "base/bit_cast.h"
#include "base/double_double.h"
#include "base/exact_math_tables.h"

#include <cstdint>

namespace exact {

struct ReducedAngle {
    DoubleDouble remainder; // x - quadrant * pi/2 (modulo 2 pi)
    int quadrant;           // 0 to 3
};

// Below this, k = round(x * 2/pi) stays under 2^20, so k times each 33-bit part of
// pi/2 is exact.
inline constexpr double kModerateAngle = 0x1p19;

// |x| >= kModerateAngle, finite.
ReducedAngle reduceHugeAngle(double x);

// x finite.
inline ReducedAngle reduceAngle(double x)
{
    // Added, it leaves a double below 2^51 rounded to an integer (ties to even), and
    // that integer, plus 2^51, in the low bits of the sum.
    constexpr double kRoundingShift = 0x1.8p52;
    if (!(magnitude(x) < kModerateAngle)) return reduceHugeAngle(x);
    const double shifted = x * tables::kTwoOverPi + kRoundingShift;
    const double k = shifted - kRoundingShift;
    // Exact: k * kHalfPi1 is exact and lies within a factor 2 of x (Sterbenz).
    const double first = x - k * tables::kHalfPi1;
    const DoubleDouble second = twoSum(first, -(k * tables::kHalfPi2));
    const DoubleDouble third = twoSum(second.hi, -(k * tables::kHalfPi3));
    const double rest = (second.lo + third.lo) - k * tables::kHalfPi4;
    // |third.hi| > |rest|: rest is below 2^-100, and no double at all lies nearer than
    // about 2^-61 to a multiple of pi/2.
    return {fastTwoSum(third.hi, rest), static_cast<int>(bits::cast<uint64_t>(shifted) & 3)};
}

} // namespace exact
