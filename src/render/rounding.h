// Float coordinates become pixel indices by rounding half away from zero. Values
// far outside any screen saturate instead of overflowing the integer conversion.
#pragma once

#include <cmath>
#include <cstdint>

constexpr double kPixelLimit = 1 << 28; // far beyond any target, small enough for exact int64 maths

inline int64_t pixelIndex(double coordinate)
{
    if (std::isnan(coordinate)) return 0;
    return static_cast<int64_t>(std::round(std::fmax(-kPixelLimit, std::fmin(kPixelLimit, coordinate))));
}
