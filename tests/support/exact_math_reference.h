// The game's sine, cosine and arctangent measured against GNU MPFR: the error of
// each result in units in the last place of the true value, and whether it is the
// correctly rounded double. Shared by the unit test and the 10-million-input script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace exact_reference {

enum class Function { Sin, Cos, Atan2 };

struct Input {
    double a; // x, or atan2's y
    double b; // atan2's x
};

struct Tally {
    double worstUlps = 0.0;
    Input worstInput = {0.0, 0.0};
    int64_t notCorrectlyRounded = 0;
    Input firstNotCorrectlyRounded = {0.0, 0.0};
    int64_t count = 0;
};

// The correctly rounded value (to nearest) of the function at the input.
double correctlyRounded(Function f, Input in);

// Whether the error of a correctly rounded result is measured (slow) or counted as
// its bound, half an ulp.
enum class UlpMeasure { Always, OnlyWhenNotCorrectlyRounded };

// Adds the game's result at the input to the tally.
void measure(Function f, Input in, Tally& tally, UlpMeasure ulps);

// Inputs: random over the game's range (angles within a few thousand radians,
// quotients of world coordinates) and over the whole double range, plus the hard
// cases of argument reduction, tiny and huge values, signed zeros, infinities, NaN.
std::vector<Input> angleInputs(int64_t randomCount, uint64_t seed);
std::vector<Input> atan2Inputs(int64_t randomCount, uint64_t seed);

std::string describe(Function f, const Tally& tally);

} // namespace exact_reference
