// Polynomial sine and exponential with explicit range reduction (see stable_math.h for
// why the generator does not call std::sin or std::exp).
#include "stable_math.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr double kLn2 = 0.69314718055994530942;

// Taylor series of sin on [0, pi/2]; the x^19 term is below 5e-14 there.
double sineQuadrant(double x)
{
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 3; n <= 17; n += 2) {
        term *= -x2 / double((n - 1) * n);
        sum += term;
    }
    return sum;
}

} // namespace

double sineTurns(double turns)
{
    double f = turns - std::floor(turns); // [0, 1): floor is exact, so this is too
    double sign = 1.0;
    if (f >= 0.5) { // sin(x + pi) = -sin(x)
        f -= 0.5;
        sign = -1.0;
    }
    if (f > 0.25) f = 0.5 - f; // sin(pi - x) = sin(x)
    return sign * sineQuadrant(2.0 * kPi * f);
}

double cosineTurns(double turns) { return sineTurns(turns + 0.25); }

double exponential(double x)
{
    if (x < -700.0) return 0.0;
    // e^x = 2^k * e^r with |r| <= ln2 / 2, where 14 Taylor terms reach double precision.
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = x - k * kLn2;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, int(k));
}

double clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

double lerp(double a, double b, double t) { return a + (b - a) * t; }

double smoothstep(double edge0, double edge1, double v)
{
    const double t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

uint8_t toByte(double v)
{
    if (!(v > 0.0)) return 0; // also catches NaN
    if (v >= 255.0) return 255;
    return uint8_t(std::floor(v + 0.5));
}

} // namespace assetgen
