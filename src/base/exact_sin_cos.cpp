// Sine and cosine of x = r + quadrant pi/2, r = a + b with a = i/64 the nearest step:
// both are p cos b + q sin b, where p and q are +-sin a and +-cos a as the quadrant
// picks (taken from a table to 106 bits, without a branch that random angles would
// mispredict) and |b| <= 1/128, so that the terms rounded in double are small and the
// sum stays within 2^-62 of the result. When that cannot prove the rounding,
// everything past the table is redone in double-double.
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
constexpr double kLargestDouble = 0x1.fffffffffffffp1023;
constexpr int kSeriesTerms = 6; // b^13/13! and b^12/12! are the last that reach 2^-106

// sin(a + b + quadrant pi/2) = p cos b + q sin b: for quadrants 0 to 3, (p, q) is
// (sin a, cos a), (cos a, -sin a), (-sin a, -cos a), (-cos a, sin a).
constexpr double kSignOfP[4] = {1.0, 1.0, -1.0, -1.0};
constexpr double kSignOfQ[4] = {1.0, -1.0, -1.0, 1.0};

struct Rotation {
    DoubleDouble p, q;
    double bh, bl; // b = bh + bl, |bl| <= half an ulp of r
};

DoubleDouble times(DoubleDouble a, double sign)
{
    return {a.hi * sign, a.lo * sign};
}

Rotation rotationOf(const ReducedAngle& angle)
{
    const double hi = angle.remainder.hi;
    const Step step = nearestStep(hi);
    const DoubleDouble* sinCos = tables::kSinCosSteps[step.count + tables::kMiddleStep];
    const int odd = angle.quadrant & 1;
    // Exact: step is a multiple of hi's ulp and lies within 1/128 of hi.
    return {times(sinCos[odd], kSignOfP[angle.quadrant]), times(sinCos[odd ^ 1], kSignOfQ[angle.quadrant]),
            hi - step.value, angle.remainder.lo};
}

// Terms past b^7/7! and b^6/6! stay below 2^-70 of the results; b's low part enters
// through the first-order terms bl cos bh and -bl sin bh, less than 2^-67 from bl and
// -bl bh.
DoubleDouble rotateFast(const Rotation& t)
{
    const double bh = t.bh, bl = t.bl, z = bh * bh;
    const DoubleDouble* f = kInverseFactorials;
    const double sinMinusB = bh * z * ((z * f[5].hi - f[3].hi) - (z * z) * f[7].hi);
    const double cosMinusOne = z * ((z * f[4].hi - f[2].hi) - (z * z) * f[6].hi);
    const DoubleDouble main = twoProduct(t.q.hi, bh);
    // |p| > |q b| unless p is 0: p is sin a for a >= 1/64 or cos a.
    const DoubleDouble sum = fastTwoSum(t.p.hi, main.hi);
    const double rest = t.q.hi * (bl + sinMinusB) + t.p.hi * (cosMinusOne - bl * bh);
    return fastTwoSum(sum.hi, sum.lo + main.lo + t.p.lo + t.q.lo * bh + rest);
}

DoubleDouble rotateAccurately(const Rotation& t)
{
    const DoubleDouble b = twoSum(t.bh, t.bl);
    const DoubleDouble z = multiply(b, b);
    const DoubleDouble sinTail = alternatingSeries(z, kInverseFactorials + 3, kSeriesTerms, 2);
    const DoubleDouble cosTail = alternatingSeries(z, kInverseFactorials + 2, kSeriesTerms, 2);
    const DoubleDouble sinB = add(b, negate(multiply(multiply(b, z), sinTail)));
    const DoubleDouble cosMinusOne = negate(multiply(z, cosTail));
    return add(t.p, add(multiply(t.q, sinB), multiply(t.p, cosMinusOne)));
}

// sin(x + quarterTurns pi/2) for |x| >= kCosIsOne, finite; inlined into sin and cos.
[[gnu::always_inline]] inline double sinTurned(double x, int quarterTurns)
{
    ReducedAngle angle = reduceAngle(x);
    angle.quadrant = (angle.quadrant + quarterTurns) & 3;
    const Rotation t = rotationOf(angle);
    const DoubleDouble fast = rotateFast(t);
    if (roundsSurely(fast, kFastError)) return fast.hi;
    const DoubleDouble accurate = rotateAccurately(t);
    return accurate.hi + accurate.lo;
}

} // namespace

double sin(double x)
{
    const double ax = magnitude(x);
    if (ax < kSinIsX) return x; // keeps the sign of zero
    if (!(ax <= kLargestDouble)) return x - x; // NaN for NaN and the infinities
    return sinTurned(x, 0);
}

double cos(double x)
{
    const double ax = magnitude(x);
    if (ax < kCosIsOne) return 1.0;
    if (!(ax <= kLargestDouble)) return x - x;
    return sinTurned(x, 1); // cos x = sin(x + pi/2)
}

} // namespace exact
