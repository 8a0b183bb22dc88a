// The game's sine, cosine and arctangent against GNU MPFR: correctly rounded on
// random inputs over the game's ranges and the whole double range, on the hard cases
// of argument reduction, on every special value and atan2 quadrant, and on inputs
// whose rounding only the slow path decides; and the sprite drawer's whole degrees
// give the floats that the extended-precision sine and cosine gave.
#include "base/exact_math.h"

#include "support/exact_math_reference.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using exact_reference::Function;
using exact_reference::Input;
using exact_reference::Tally;
using exact_reference::UlpMeasure;

constexpr int64_t kRandomAngles = 40000;
constexpr int64_t kRandomQuotients = 50000;

void expectCorrectlyRounded(Function f, const std::vector<Input>& inputs)
{
    Tally tally;
    for (const Input& in : inputs) exact_reference::measure(f, in, tally, UlpMeasure::OnlyWhenNotCorrectlyRounded);
    EXPECT_LE(tally.worstUlps, 1.0) << exact_reference::describe(f, tally);
    EXPECT_EQ(tally.notCorrectlyRounded, 0) << exact_reference::describe(f, tally);
}

TEST(ExactMath, SineAndCosine_CorrectlyRoundedOnRandomAndHardAngles)
{
    const std::vector<Input> inputs = exact_reference::angleInputs(kRandomAngles, 1);
    expectCorrectlyRounded(Function::Sin, inputs);
    expectCorrectlyRounded(Function::Cos, inputs);
}

TEST(ExactMath, Atan2_CorrectlyRoundedOnQuotientsQuadrantsAndSpecialValues)
{
    expectCorrectlyRounded(Function::Atan2, exact_reference::atan2Inputs(kRandomQuotients, 2));
}

// Inputs whose rounding the fast evaluation cannot prove, so that the double-double
// path gives the answer: for sine and cosine, angles where the fast result alone is
// wrong; for atan2, ratios whose fast result lies too near a rounding boundary.
TEST(ExactMath, SlowPath_RoundsWhatTheFastPathCannotDecide)
{
    const std::vector<Input> sines = {{0x1.1b3918dda3bc8p+11, 0}, {0x1.193a9937b559p+12, 0},
                                      {-0x1.1f63030be5178p-5, 0}, {-0x1.8404e2787763p+9, 0},
                                      {-0x1.5174fd7a5d8f9p+1007, 0}, {-0x1.cd215d83d61f4p+11, 0},
                                      {-0x1.e370211fe8adbp+608, 0}, {0x1.4974f7aade3dp+10, 0}};
    const std::vector<Input> cosines = {{-0x1.18cabada820abp+12, 0}, {0x1.b8b4e0657cfdp+878, 0},
                                        {-0x1.53d06102bd928p+9, 0}, {-0x1.3461558e06e2ep+371, 0},
                                        {0x1.1b1fa832c537p-3, 0}, {0x1.0f09ed7dfba8ep-7, 0},
                                        {-0x1.2c862f047f074p+120, 0}, {-0x1.78bb39533ec54p+249, 0}};
    const std::vector<Input> quotients = {{0x1.6869298b25987p-1, 0x1.bb951f6f95acbp+0}, {0x1.d108bdd6a4b4fp-27, 1.0},
                                          {0x1.7a00ab4aa8b24p-4, 0x1.f800e46190749p+0}, {0x1.f4faeacf25f8bp-26, 1.0},
                                          {0x1.83447c803fcb4p+0, 0x1.9d15da225f913p+0}, {0x1.24f2b813f003ep-26, 1.0},
                                          {0x1.1563e4a6c4fe2p+0, 0x1.79b90745349d5p+0},
                                          {-0x1.c913431c84e9p-3, 0x1.c8ef01a019caep+0}};
    expectCorrectlyRounded(Function::Sin, sines);
    expectCorrectlyRounded(Function::Cos, cosines);
    expectCorrectlyRounded(Function::Atan2, quotients);
}

// The sprite drawer turns by whole degrees, 0 to 360 from its callers, with the factor
// held as a float; int times that float is exact in double as in long double.
TEST(ExactMath, WholeDegrees_GiveTheFloatsOfTheExtendedPrecisionFunctions)
{
    constexpr float kRadiansPerDegree = 0.017453292f;
    for (int degrees = -360; degrees <= 720; ++degrees) {
        const double radians = double(degrees) * double(kRadiansPerDegree);
        const long double extended = static_cast<long double>(degrees) * static_cast<long double>(kRadiansPerDegree);
        EXPECT_EQ(float(exact::sin(radians)), float(std::sin(extended))) << degrees;
        EXPECT_EQ(float(exact::cos(radians)), float(std::cos(extended))) << degrees;
    }
}

} // namespace
