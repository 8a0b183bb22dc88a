// Sine and cosine of a reduced angle r = a + b, a = i/64 the nearest step:
// sin r = sin a cos b + cos a sin b and cos r = cos a cos b - sin a sin b, with sin a
// and cos a from a table to 106 bits and |b| <= 1/128, so that the terms rounded in
// double are small and the sum stays within 2^-62 of the result. When that cannot
// prove the rounding, everything is redone in double-double.
#include "base/argument_reduction.h"
#include "base/exact_math.h"
#include "base/exact_math_tables.h"

namespace exact {

namespace {

using tables::kInverseFactorials;

constexpr double kFastError = 0x1p-62;
// Below these, sin x rounds to x and cos x to 1: x^3/6 and x^2/2 are under half an ulp.
constexpr double kSinIsX = 0x1p-26;
constexpr double kCosIsOne = 0x1p-27;
constexpr int kSeriesTerms = 6; // b^13/13! and b^12/12! are the last that reach 2^-106

// r = sign * (step / 64 + offset), |offset| <= 1/128 (a little more at pi/4's ends).
struct StepAndOffset {
    int step;
    DoubleDouble offset;
    double sign;
};

StepAndOffset splitAtStep(DoubleDouble r)
{
    const double sign = r.hi < 0 ? -1.0 : 1.0;
    const double hi = r.hi * sign;
    const int step = static_cast<int>(hi * 64.0 + 0.5);
    // Exact: step/64 is a multiple of hi's ulp and lies within 1/128 of hi.
    return {step, {hi - step * 0x1p-6, r.lo * sign}, sign};
}

// sin b - b and cos b - 1 in double, b = offset.hi; b's low part enters the callers'
// first-order terms.
struct SmallParts {
    double sinMinusB;
    double cosMinusOne;
};

SmallParts smallParts(double b)
{
    const double z = b * b;
    const DoubleDouble* f = kInverseFactorials;
    return {b * z * (-f[3].hi + z * (f[5].hi - z * f[7].hi)),
            z * (-f[2].hi + z * (f[4].hi + z * (-f[6].hi + z * f[8].hi)))};
}

DoubleDouble sinFast(const StepAndOffset& p)
{
    const DoubleDouble s = tables::kSinSteps[p.step], c = tables::kCosSteps[p.step];
    const double bh = p.offset.hi, bl = p.offset.lo;
    const SmallParts small = smallParts(bh);
    const double lowOfB = bl * (1.0 - 0.5 * bh * bh); // bl * cos bh
    const DoubleDouble main = twoProduct(c.hi, bh);
    const DoubleDouble sum = twoSum(s.hi, main.hi);
    const double rest = c.hi * lowOfB + s.hi * (small.cosMinusOne - bl * bh) + c.hi * small.sinMinusB;
    return fastTwoSum(sum.hi, sum.lo + main.lo + s.lo + c.lo * bh + rest);
}

DoubleDouble cosFast(const StepAndOffset& p)
{
    const DoubleDouble s = tables::kSinSteps[p.step], c = tables::kCosSteps[p.step];
    const double bh = p.offset.hi, bl = p.offset.lo;
    const SmallParts small = smallParts(bh);
    const double lowOfB = bl * (1.0 - 0.5 * bh * bh);
    const DoubleDouble main = twoProduct(s.hi, -bh);
    const DoubleDouble sum = twoSum(c.hi, main.hi);
    const double rest = c.hi * (small.cosMinusOne - bl * bh) - s.hi * lowOfB - s.hi * small.sinMinusB;
    return fastTwoSum(sum.hi, sum.lo + main.lo + c.lo - s.lo * bh + rest);
}

// sin b and cos b - 1 in double-double, for the slow path.
struct AccurateParts {
    DoubleDouble sinB;
    DoubleDouble cosMinusOne;
};

AccurateParts accurateParts(DoubleDouble offset)
{
    const DoubleDouble b = twoSum(offset.hi, offset.lo);
    const DoubleDouble z = multiply(b, b);
    const DoubleDouble sinTail = alternatingSeries(z, kInverseFactorials + 3, kSeriesTerms, 2);
    const DoubleDouble cosTail = alternatingSeries(z, kInverseFactorials + 2, kSeriesTerms, 2);
    return {add(b, negate(multiply(multiply(b, z), sinTail))), negate(multiply(z, cosTail))};
}

DoubleDouble sinAccurate(const StepAndOffset& p)
{
    const DoubleDouble s = tables::kSinSteps[p.step], c = tables::kCosSteps[p.step];
    const AccurateParts parts = accurateParts(p.offset);
    return add(s, add(multiply(c, parts.sinB), multiply(s, parts.cosMinusOne)));
}

DoubleDouble cosAccurate(const StepAndOffset& p)
{
    const DoubleDouble s = tables::kSinSteps[p.step], c = tables::kCosSteps[p.step];
    const AccurateParts parts = accurateParts(p.offset);
    return add(c, add(multiply(c, parts.cosMinusOne), negate(multiply(s, parts.sinB))));
}

// sin r and cos r for a remainder of the reduction.
double sinOfReduced(DoubleDouble r)
{
    const StepAndOffset p = splitAtStep(r);
    const DoubleDouble fast = sinFast(p);
    if (roundsSurely(fast, kFastError)) return p.sign * fast.hi;
    const DoubleDouble accurate = sinAccurate(p);
    return p.sign * (accurate.hi + accurate.lo);
}

double cosOfReduced(DoubleDouble r)
{
    const StepAndOffset p = splitAtStep(r);
    const DoubleDouble fast = cosFast(p);
    if (roundsSurely(fast, kFastError)) return fast.hi;
    const DoubleDouble accurate = cosAccurate(p);
    return accurate.hi + accurate.lo;
}

// The quarter turns: sin(r + q pi/2) for q = 0..3 is sin r, cos r, -sin r, -cos r.
double sinOfQuadrant(const ReducedAngle& a)
{
    switch (a.quadrant) {
    case 0: return sinOfReduced(a.remainder);
    case 1: return cosOfReduced(a.remainder);
    case 2: return -sinOfReduced(a.remainder);
    default: return -cosOfReduced(a.remainder);
    }
}

} // namespace

double sin(double x)
{
    const double ax = x < 0 ? -x : x;
    if (ax < kSinIsX) return x; // keeps the sign of zero
    if (!(ax <= 0x1.fffffffffffffp1023)) return x - x; // NaN for NaN and the infinities
    return sinOfQuadrant(reduceAngle(x));
}

double cos(double x)
{
    const double ax = x < 0 ? -x : x;
    if (ax < kCosIsOne) return 1.0;
    if (!(ax <= 0x1.fffffffffffffp1023)) return x - x;
    ReducedAngle a = reduceAngle(x);
    a.quadrant = (a.quadrant + 1) & 3; // cos x = sin(x + pi/2)
    return sinOfQuadrant(a);
}

} // namespace exact
