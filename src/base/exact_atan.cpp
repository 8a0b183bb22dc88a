// atan2 from atan t, 0 <= t <= 1, t the smaller of |y| and |x| over the larger as a
// double-double, then reflected into the right octant. atan t = atan c + atan u with
// c = j/64 the nearest step (from a table to 106 bits) and u = (t - c) / (1 + t c),
// |u| <= 1/128, whose series beyond u is small enough to take in double. When the
// rounding test cannot decide, that series is redone in double-double.
#include "base/bit_cast.h"
#include "base/exact_math.h"
#include "base/exact_math_tables.h"

#include <cstdint>
#include <limits>

namespace exact {

namespace {

constexpr double kFastError = 0x1p-62;
constexpr int kSeriesTerms = 9; // u^19/19 is the last term that reaches 2^-106
// Past this ratio of the exponents, atan t is t to far below an ulp of the result.
constexpr int kTinyRatioExponents = 60;

bool signBit(double v)
{
    return (bits::cast<uint64_t>(v) >> 63) != 0;
}

double withSignOf(double magnitude, bool negative)
{
    return negative ? -magnitude : magnitude;
}

int exponentOf(double v)
{
    return static_cast<int>((bits::cast<uint64_t>(v) >> 52) & 0x7ff);
}

// The angle is offset + direction * atan t.
struct Octant {
    DoubleDouble offset;
    double direction;
};

Octant octantOf(bool swapped, bool xNegative)
{
    constexpr DoubleDouble kZero = {0.0, 0.0};
    if (!swapped) return xNegative ? Octant{tables::kPi, -1.0} : Octant{kZero, 1.0};
    return {tables::kHalfPi, xNegative ? 1.0 : -1.0};
}

DoubleDouble place(const Octant& o, DoubleDouble atanT)
{
    const DoubleDouble directed = {o.direction * atanT.hi, o.direction * atanT.lo};
    return o.offset.hi == 0.0 ? directed : add(o.offset, directed);
}

// num / den as a double-double, for 0 < num <= den finite.
DoubleDouble quotient(double num, double den)
{
    // Scaled into the range where the product's split cannot overflow nor the
    // remainder underflow; a power of two leaves the quotient as it was.
    if (den > 0x1p500) {
        num *= 0x1p-600;
        den *= 0x1p-600;
    } else if (den < 0x1p-500) {
        num *= 0x1p600;
        den *= 0x1p600;
    }
    const double q = num / den;
    const DoubleDouble product = twoProduct(q, den);
    const double remainder = (num - product.hi) - product.lo; // exact
    return fastTwoSum(q, remainder / den);
}

struct StepAndOffset {
    int step;
    DoubleDouble u;
};

StepAndOffset splitAtStep(DoubleDouble t)
{
    const int step = static_cast<int>(t.hi * 64.0 + 0.5);
    const double c = step * 0x1p-6;
    const DoubleDouble numerator = twoSum(t.hi - c, t.lo); // t.hi - c is exact
    const DoubleDouble product = twoProduct(t.hi, c);
    const DoubleDouble one = twoSum(1.0, product.hi);
    const DoubleDouble denominator = fastTwoSum(one.hi, one.lo + product.lo + t.lo * c);
    return {step, divide(numerator, denominator)};
}

DoubleDouble atanFast(const StepAndOffset& p)
{
    const double u = p.u.hi, z = u * u;
    const DoubleDouble* k = tables::kInverseOdds;
    const double tail = u * z * (-k[1].hi + z * (k[2].hi + z * (-k[3].hi + z * k[4].hi)));
    const DoubleDouble a = tables::kAtanSteps[p.step];
    const DoubleDouble sum = twoSum(a.hi, u);
    return fastTwoSum(sum.hi, sum.lo + a.lo + p.u.lo + tail);
}

DoubleDouble atanAccurate(const StepAndOffset& p)
{
    const DoubleDouble z = multiply(p.u, p.u);
    const DoubleDouble series = alternatingSeries(z, tables::kInverseOdds + 1, kSeriesTerms, 1);
    const DoubleDouble tail = negate(multiply(multiply(p.u, z), series));
    return add(tables::kAtanSteps[p.step], add(p.u, tail));
}

double atanOfRatio(double num, double den, const Octant& octant)
{
    if (exponentOf(den) - exponentOf(num) > kTinyRatioExponents) {
        const DoubleDouble t = {num / den, 0.0};
        const DoubleDouble placed = place(octant, t);
        return placed.hi + placed.lo;
    }
    const StepAndOffset p = splitAtStep(quotient(num, den));
    const DoubleDouble fast = place(octant, atanFast(p));
    if (roundsSurely(fast, kFastError)) return fast.hi;
    const DoubleDouble accurate = place(octant, atanAccurate(p));
    return accurate.hi + accurate.lo;
}

} // namespace

double atan2(double y, double x)
{
    if (x != x || y != y) return x + y;
    const bool yNegative = signBit(y), xNegative = signBit(x);
    const double ax = xNegative ? -x : x, ay = yNegative ? -y : y;
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    double angle;
    if (ay == 0.0) {
        angle = xNegative ? tables::kPi.hi : 0.0;
    } else if (ax == 0.0) {
        angle = tables::kHalfPi.hi;
    } else if (ax == kInfinity && ay == kInfinity) {
        angle = xNegative ? tables::kThreeQuarterPi.hi : tables::kQuarterPi.hi;
    } else if (ax == kInfinity) {
        angle = xNegative ? tables::kPi.hi : 0.0;
    } else if (ay == kInfinity) {
        angle = tables::kHalfPi.hi;
    } else {
        const bool swapped = ay > ax;
        angle = swapped ? atanOfRatio(ax, ay, octantOf(true, xNegative)) : atanOfRatio(ay, ax, octantOf(false, xNegative));
    }
    return withSignOf(angle, yNegative);
}

} // namespace exact
