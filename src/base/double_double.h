// Numbers held as the unevaluated sum of two doubles (about 106 bits), built from
// IEEE-754 additions and multiplications alone: no fused multiply-add, which the
// build turns off (-ffp-contract=off), so every step rounds the same way everywhere.
// The error-free steps hold for operands well inside the double range (a product's
// split overflows above about 2^996); the callers scale what could be larger.
#pragma once

#include "base/bit_cast.h"

#include <cstdint>

namespace exact {

struct DoubleDouble {
    double hi;
    double lo;
};

// |a|, by clearing the sign bit (the same for NaN, zeros and infinities).
inline double magnitude(double a)
{
    return bits::cast<double>(bits::cast<uint64_t>(a) & ~(uint64_t(1) << 63));
}

inline bool signOf(double a)
{
    return (bits::cast<uint64_t>(a) >> 63) != 0;
}

// x rounded to the nearest multiple of 1/64 (ties to even), for |x| < 2^44, and how
// many 1/64ths that is: the tables of sine, cosine and arctangent go in such steps.
struct Step {
    double value;
    int64_t count;
};

inline Step nearestStep(double x)
{
    // Added to x, 1.5 * 2^46 leaves the sum's last bit worth 1/64, and the count of
    // 1/64ths, plus 2^51, in its low bits.
    constexpr double kStepRounding = 0x1.8p46;
    const double shifted = x + kStepRounding;
    const uint64_t lowBits = bits::cast<uint64_t>(shifted) & ((uint64_t(1) << 52) - 1);
    return {shifted - kStepRounding, static_cast<int64_t>(lowBits) - (int64_t(1) << 51)};
}

// a + b exactly, for any a and b.
inline DoubleDouble twoSum(double a, double b)
{
    const double s = a + b;
    const double bVirtual = s - a;
    const double aVirtual = s - bVirtual;
    return {s, (a - aVirtual) + (b - bVirtual)};
}

// a + b exactly, where |a| >= |b| (or a is 0).
inline DoubleDouble fastTwoSum(double a, double b)
{
    const double s = a + b;
    return {s, b - (s - a)};
}

// a split into two halves of 26 bits each (Veltkamp), whose products are exact.
inline DoubleDouble split(double a)
{
    constexpr double kSplitter = 134217729.0; // 2^27 + 1
    const double c = kSplitter * a;
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// a * b exactly (Dekker).
inline DoubleDouble twoProduct(double a, double b)
{
    const double p = a * b;
    const DoubleDouble as = split(a);
    const DoubleDouble bs = split(b);
    const double err = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
    return {p, err};
}

// a * b exactly, where a has at most 26 significant bits (so needs no split).
inline DoubleDouble twoProductShort(double a, double b)
{
    const double p = a * b;
    const DoubleDouble bs = split(b);
    return {p, (a * bs.hi - p) + a * bs.lo};
}

inline DoubleDouble add(DoubleDouble a, DoubleDouble b)
{
    const DoubleDouble s = twoSum(a.hi, b.hi);
    const DoubleDouble t = twoSum(a.lo, b.lo);
    const DoubleDouble u = fastTwoSum(s.hi, s.lo + t.hi);
    return fastTwoSum(u.hi, u.lo + t.lo);
}

inline DoubleDouble multiply(DoubleDouble a, DoubleDouble b)
{
    const DoubleDouble p = twoProduct(a.hi, b.hi);
    return fastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline DoubleDouble multiply(DoubleDouble a, double b)
{
    const DoubleDouble p = twoProduct(a.hi, b);
    return fastTwoSum(p.hi, p.lo + a.lo * b);
}

inline DoubleDouble negate(DoubleDouble a)
{
    return {-a.hi, -a.lo};
}

// a / b: the quotient's remainder, taken exactly, corrects the first guess. The
// reciprocal for the correction is found beside the guess, not after it.
inline DoubleDouble divide(DoubleDouble a, DoubleDouble b)
{
    const double q = a.hi / b.hi;
    const double reciprocal = 1.0 / b.hi;
    const DoubleDouble p = twoProduct(q, b.hi);
    const double remainder = (((a.hi - p.hi) - p.lo) + a.lo) - q * b.lo; // a.hi - p.hi is exact
    return fastTwoSum(q, remainder * reciprocal);
}

// c[0] - c[stride] z + c[2 stride] z^2 - ..., count terms, by Horner's rule.
inline DoubleDouble alternatingSeries(DoubleDouble z, const DoubleDouble* c, int count, int stride)
{
    DoubleDouble sum = c[(count - 1) * stride];
    for (int k = count - 2; k >= 0; --k) sum = add(c[k * stride], negate(multiply(sum, z)));
    return sum;
}

// Ziv's rounding test: whether every value within relError (relative) of v rounds to
// the same double, which is then v's correctly rounded value. v must be normalised.
// The margin's sign does not matter: it is both added and taken away.
inline bool roundsSurely(DoubleDouble v, double relError)
{
    const double margin = v.hi * relError;
    return v.hi + (v.lo + margin) == v.hi + (v.lo - margin);
}

} // namespace exact
