// The game's own sine, cosine and arctangent: the same bits on every processor,
// compiler and C library, because they use nothing but IEEE-754 +, -, *, / in double.
// Every finite input is handled (huge arguments are reduced exactly) with an error
// below 1 ulp, and the results are correctly rounded in practice: a fast evaluation
// whose rounding is proven by a test, or else a double-double one.
#pragma once

namespace exact {

double sin(double x);
double cos(double x);
// The angle of the point (x, y), with C's quadrants, signed zeros and infinities.
double atan2(double y, double x);

} // namespace exact
