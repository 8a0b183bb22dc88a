// Reduction of an angle by multiples of pi/2, to a remainder in about [-pi/4, pi/4]
// held to about 2^-100 of its size: Cody and Waite's subtraction of pi/2 in parts for
// the angles the game meets, Payne and Hanek's multiplication by the bits of 2/pi for
// the rest, so that even 1e300 radians lands on the right remainder.
#pragma once

#include "base/double_double.h"

namespace exact {

struct ReducedAngle {
    DoubleDouble remainder; // x - quadrant * pi/2 (modulo 2 pi)
    int quadrant;           // 0 to 3
};

// x finite.
ReducedAngle reduceAngle(double x);

} // namespace exact
