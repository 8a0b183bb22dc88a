// atan2 from atan(num/den), 0 < num <= den the smaller and larger of |y| and |x|,
// reflected into the right octant. atan(num/den) = atan c + atan u with c = j/64 the
// nearest step (atan c from a table to 106 bits) and u = (num - c den)/(den + c num),
// a double-double with |u| <= 1/128, whose series beyond u is small enough to take in
// double. When the rounding test cannot decide, that series is redone in
// double-double.
#include "base/double_double.h"
#include "base/exact_math.h"
#include "base/exact_math_tables.h"

#include <limits>

namespace exact {

namespace {

constexpr double kFastError = 0x1p-62;
constexpr int kSeriesTerms = 9; // u^19/19 is the last term that reaches 2^-106
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Below this ratio num/den, atan(num/den) is num/den to far below an ulp of the result.
constexpr double kTinyRatio = 0x1p-60;
// Operands kept within these bounds cannot overflow a product's split nor underflow
// its low part.
constexpr double kLargeOperand = 0x1p500;
constexpr double kSmallOperand = 0x1p-500;

// The angle is offset + direction * atan(num/den). By (num and den swapped, x < 0):
// atan t, pi - atan t, pi/2 - atan t, pi/2 + atan t.
struct Octant {
    DoubleDouble offset;
    double direction;
};
constexpr Octant kOctants[4] = {
    {{0.0, 0.0}, 1.0}, {tables::kPi, -1.0}, {tables::kHalfPi, -1.0}, {tables::kHalfPi, 1.0}};

struct Ratio {
    int step;
    DoubleDouble u;
};

Ratio ratioAtStep(double num, double den)
{
    const Step step = nearestStep(num / den);
    const double c = step.value;
    // c has at most 7 bits, so c * den and c * num are exact as two doubles.
    const DoubleDouble cDen = twoProductShort(c, den), cNum = twoProductShort(c, num);
    const DoubleDouble difference = twoSum(num, -cDen.hi); // exact; cancels when num/den is near c
    const DoubleDouble numerator = twoSum(difference.hi, difference.lo - cDen.lo);
    const DoubleDouble sum = twoSum(den, cNum.hi);
    const DoubleDouble denominator = fastTwoSum(sum.hi, sum.lo + cNum.lo);
    return {static_cast<int>(step.count), divide(numerator, denominator)};
}

DoubleDouble atanFast(const Ratio& r, const Octant& o)
{
    const double u = r.u.hi, z = u * u, z2 = z * z;
    const DoubleDouble* k = tables::kInverseOdds;
    const double tail = u * z * ((z * k[2].hi - k[1].hi) + z2 * (k[4].hi * z - k[3].hi));
    const DoubleDouble a = tables::kAtanSteps[r.step];
    const DoubleDouble atanRatio = fastTwoSum(a.hi, u); // |atan c| > |u| unless c is 0
    const double atanLow = atanRatio.lo + a.lo + r.u.lo + tail;
    // |offset| > atan(num/den) unless the offset is 0.
    const DoubleDouble angle = fastTwoSum(o.offset.hi, o.direction * atanRatio.hi);
    return fastTwoSum(angle.hi, angle.lo + o.offset.lo + o.direction * atanLow);
}

DoubleDouble atanAccurate(const Ratio& r, const Octant& o)
{
    const DoubleDouble z = multiply(r.u, r.u);
    const DoubleDouble series = alternatingSeries(z, tables::kInverseOdds + 1, kSeriesTerms, 1);
    const DoubleDouble tail = negate(multiply(multiply(r.u, z), series));
    const DoubleDouble atanRatio = add(tables::kAtanSteps[r.step], add(r.u, tail));
    return add(o.offset, {o.direction * atanRatio.hi, o.direction * atanRatio.lo});
}

double atanOfRatio(double num, double den, const Octant& o)
{
    const Ratio r = ratioAtStep(num, den);
    const DoubleDouble fast = atanFast(r, o);
    if (roundsSurely(fast, kFastError)) return fast.hi;
    const DoubleDouble accurate = atanAccurate(r, o);
    return accurate.hi + accurate.lo;
}

// Ratios at the ends of the double range: scaled by a power of two, which leaves the
// ratio as it was, or so small that the angle is the octant's offset and the ratio.
double atanOfExtremeRatio(double num, double den, const Octant& o)
{
    if (num < den * kTinyRatio) {
        const double ratio = num / den; // correctly rounded, subnormal or not
        const DoubleDouble angle = add(o.offset, {o.direction * ratio, 0.0});
        return angle.hi + angle.lo;
    }
    const double scale = den > kLargeOperand ? 0x1p-600 : 0x1p600;
    return atanOfRatio(num * scale, den * scale, o);
}

// The special values, as C defines them, for y >= +0 (the caller gives the sign).
double atanOfSpecial(double ay, double ax, bool xNegative)
{
    if (ay == 0.0) return xNegative ? tables::kPi.hi : 0.0;
    if (ax == 0.0) return tables::kHalfPi.hi;
    if (ax == kInfinity && ay == kInfinity) return xNegative ? tables::kThreeQuarterPi.hi : tables::kQuarterPi.hi;
    if (ax == kInfinity) return xNegative ? tables::kPi.hi : 0.0;
    return tables::kHalfPi.hi; // ay infinite
}

} // namespace

double atan2(double y, double x)
{
    if (x != x || y != y) return x + y;
    const bool yNegative = signOf(y), xNegative = signOf(x);
    const double ax = magnitude(x), ay = magnitude(y);
    double angle;
    if (ax > 0.0 && ax < kInfinity && ay > 0.0 && ay < kInfinity) {
        const bool swapped = ay > ax;
        const double num = swapped ? ax : ay, den = swapped ? ay : ax;
        const Octant& octant = kOctants[2 * swapped + xNegative];
        const bool ordinary = den < kLargeOperand && num > kSmallOperand && num >= den * kTinyRatio;
        angle = ordinary ? atanOfRatio(num, den, octant) : atanOfExtremeRatio(num, den, octant);
    } else {
        angle = atanOfSpecial(ay, ax, xNegative);
    }
    return yNegative ? -angle : angle;
}

} // namespace exact
