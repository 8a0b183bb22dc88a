#!/usr/bin/env python3
"""Writes src/base/exact_math_tables.h: the constants and tables of the game's own
sine, cosine and arctangent, from 1700-bit values (mpmath), each double pair the
nearest double and the nearest double to what remains. Run it from the checkout's
root; the output is committed, so the build needs no Python."""
from fractions import Fraction
import mpmath

mpmath.mp.prec = 1700

SIN_COS_STEPS = 52   # sin and cos of i/64 for |i| <= 52: past pi/4 with a margin
ATAN_STEPS = 64      # atan of j/64 for j = 0..64
TWO_OVER_PI_WORDS = 48
FACTORIALS = 16      # 1/n! for n = 0..15
ODD_INVERSES = 12    # 1/(2n+1) for n = 0..11


def exact(value):
    sign, man, exp, _ = value._mpf_
    magnitude = Fraction(int(man) * 2**exp) if exp >= 0 else Fraction(int(man), 2**-exp)
    return -magnitude if sign else magnitude


def pair(value):
    v = exact(value) if not isinstance(value, Fraction) else value
    hi = float(v)
    lo = float(v - Fraction(hi))
    return hi, lo


def rounded_to_bits(v, bits):
    """v rounded to a number with this many significant bits."""
    e = 0
    while abs(v) >= 2**bits:
        v /= 2
        e += 1
    while abs(v) < 2**(bits - 1):
        v *= 2
        e -= 1
    return Fraction(round(v)) * Fraction(2)**e


def hexf(x):
    return x.hex() if x != 0 else "0.0"


def pairs_table(name, values, comment):
    lines = [f"// {comment}", f"inline constexpr DoubleDouble {name}[] = {{"]
    for v in values:
        hi, lo = pair(v)
        lines.append(f"    {{{hexf(hi)}, {hexf(lo)}}},")
    lines.append("};")
    return "\n".join(lines)


def main():
    pi = mpmath.pi
    half_pi = exact(pi / 2)
    p1 = rounded_to_bits(half_pi, 33)
    p2 = rounded_to_bits(half_pi - p1, 33)
    p3 = rounded_to_bits(half_pi - p1 - p2, 33)
    p4 = Fraction(float(half_pi - p1 - p2 - p3))
    words = int(exact(2 / pi) * 2**(32 * TWO_OVER_PI_WORDS))

    out = ["// Made by tools/mathgen/exact_math_tables.py; do not edit.",
           "#pragma once", "", '#include "base/double_double.h"', "", "#include <cstdint>", "",
           "namespace exact::tables {", ""]
    out.append("// pi/2 in four parts, the first three of 33 bits, so that k times each is exact")
    out.append("// for |k| < 2^20.")
    for n, p in (("kHalfPi1", p1), ("kHalfPi2", p2), ("kHalfPi3", p3), ("kHalfPi4", p4)):
        assert Fraction(float(p)) == p
        out.append(f"inline constexpr double {n} = {hexf(float(p))};")
    out.append(f"inline constexpr double kTwoOverPi = {hexf(float(exact(2 / pi)))};")
    for n, v in (("kHalfPi", pi / 2), ("kPi", pi), ("kQuarterPi", pi / 4), ("kThreeQuarterPi", 3 * pi / 4)):
        hi, lo = pair(v)
        out.append(f"inline constexpr DoubleDouble {n} = {{{hexf(hi)}, {hexf(lo)}}};")
    out.append("")
    out.append(f"// The bits of 2/pi after the binary point, 32 to a word, the first word first.")
    out.append(f"inline constexpr uint32_t kTwoOverPiBits[] = {{")
    ws = [(words >> (32 * (TWO_OVER_PI_WORDS - 1 - i))) & 0xffffffff for i in range(TWO_OVER_PI_WORDS)]
    for i in range(0, TWO_OVER_PI_WORDS, 6):
        out.append("    " + " ".join(f"0x{w:08x}u," for w in ws[i:i + 6]))
    out.append("};")
    out.append("")
    out.append(f"inline constexpr int kMiddleStep = {SIN_COS_STEPS};")
    out.append(f"// {{sin(i/64), cos(i/64)}} for i = -{SIN_COS_STEPS}..{SIN_COS_STEPS}, at i + kMiddleStep.")
    out.append("inline constexpr DoubleDouble kSinCosSteps[][2] = {")
    for i in range(-SIN_COS_STEPS, SIN_COS_STEPS + 1):
        a = mpmath.mpf(i) / 64
        (sh, sl), (ch, cl) = pair(mpmath.sin(a)), pair(mpmath.cos(a))
        out.append(f"    {{{{{hexf(sh)}, {hexf(sl)}}}, {{{hexf(ch)}, {hexf(cl)}}}}},")
    out.append("};")
    out.append(pairs_table("kAtanSteps", [mpmath.atan(mpmath.mpf(j) / 64) for j in range(ATAN_STEPS + 1)],
                           "atan(j/64)."))
    inv_fact = []
    f = 1
    for n in range(FACTORIALS):
        f *= max(n, 1)
        inv_fact.append(Fraction(1, f))
    out.append(pairs_table("kInverseFactorials", inv_fact, "1/n!."))
    out.append(pairs_table("kInverseOdds", [Fraction(1, 2 * n + 1) for n in range(ODD_INVERSES)], "1/(2n+1)."))
    out.append("")
    out.append("} // namespace exact::tables")
    with open("src/base/exact_math_tables.h", "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
