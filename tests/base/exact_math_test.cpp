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

// Angles where the fast evaluation's error bound straddles a rounding boundary, so the
// double-double path must give the answer (found by running the fast path alone).
TEST(ExactMath, SlowPath_RoundsWhatTheFastPathCannotDecide)
{
    const std::vector<Input> sines = {{0x1.193a9937b559p+12, 0}, {-0x1.1f63030be5178p-5, 0},
                                      {-0x1.8404e2787763p+9, 0}, {-0x1.5174fd7a5d8f9p+1007, 0},
                                      {-0x1.9c35004c7da84p+10, 0}, {-0x1.bd1903d2b55b4p-5, 0},
                                      {0x1.f67831beaa4ffp+237, 0}, {-0x1.b185c549d31bdp-1, 0}};
    const std::vector<Input> cosines = {{0x1.cf9d8f77b3538p+11, 0}, {0x1.b8b4e0657cfdp+878, 0},
                                        {-0x1.53d06102bd928p+9, 0}, {0x1.ea9fbffa843bcp+11, 0},
                                        {-0x1.3461558e06e2ep+371, 0}, {0x1.1b1fa832c537p-3, 0},
                                        {-0x1.aa70316f870ap-4, 0}, {-0x1.1e3a7cd81d462p+12, 0}};
    expectCorrectlyRounded(Function::Sin, sines);
    expectCorrectlyRounded(Function::Cos, cosines);
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
