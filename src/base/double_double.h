// Numbers held as the unevaluated sum of two doubles (about 106 bits), built from
// IEEE-754 additions and multiplications alone: no fused multiply-add, which the
// build turns off (-ffp-contract=off), so every step rounds the same way everywhere.
// The error-free steps hold for operands well inside the double range (a product's
// split overflows above about 2^996); the callers scale what could be larger.
#pragma once

namespace exact {

struct DoubleDouble {
    double hi;
    double lo;
};

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

// a / b, the quotient's remainder taken exactly to correct the first guess.
inline DoubleDouble divide(DoubleDouble a, DoubleDouble b)
{
    const double q = a.hi / b.hi;
    const DoubleDouble r = add(a, negate(multiply(b, q)));
    return fastTwoSum(q, r.hi / b.hi);
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
inline bool roundsSurely(DoubleDouble v, double relError)
{
    const double margin = (v.hi < 0 ? -v.hi : v.hi) * relError;
    return v.hi + (v.lo + margin) == v.hi + (v.lo - margin);
}

} // namespace exact
