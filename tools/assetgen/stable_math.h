// Arithmetic that every build of the generator evaluates bit for bit alike: sine and
// exponential are built from +, -, *, / and exact scalings only, so the committed data
// files do not depend on which libm (or compile-time folding) a build happens to use.
// Accuracy is about 1e-13, far below what 8- and 16-bit quantisation can see.
#pragma once

#include <cstdint>

namespace assetgen {

constexpr double kPi = 3.14159265358979323846;

// sin(2 * pi * turns): callers think in cycles, which keeps periodic signals exact.
double sineTurns(double turns);
double cosineTurns(double turns);
// e^x; returns 0 below -700, where the double would underflow anyway.
double exponential(double x);

double clamp01(double v);
double lerp(double a, double b, double t);
// Cubic ease from 0 at edge0 to 1 at edge1, flat at both ends.
double smoothstep(double edge0, double edge1, double v);
// 0..255 channel value to a byte, nearest with halves up, clamped.
uint8_t toByte(double v);

} // namespace assetgen
