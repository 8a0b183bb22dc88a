// Float-to-integer conversions of the effect pool: nearest with ties to even, and
// rounding down. Values beyond the int range (a long stall times a fast colour rate,
// a flame flung far off) saturate instead of overflowing; NaN becomes 0.
#pragma once

#include <cmath>
#include <cstdint>

namespace effects_rounding {

constexpr double kLargest = 2147483647.0;
constexpr double kSmallest = -2147483648.0;

inline int32_t saturated(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= kLargest) return INT32_MAX;
    if (value <= kSmallest) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Uses the default rounding mode, which the program never changes: ties to even.
inline int32_t nearest(double value) { return saturated(std::nearbyint(value)); }
inline int32_t down(double value) { return saturated(std::floor(value)); }

} // namespace effects_rounding
