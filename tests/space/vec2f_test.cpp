// Vector edge cases that catch real faults: zero-length guards, inclusive segment
// ends, parallel and collinear segments, and the out-argument left alone on a miss.
#include "space/vec2f.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Vec2f kUntouched{123.0f, -456.0f};

bool meet(Vec2f& out, Vec2f a1, Vec2f a2, Vec2f b1, Vec2f b2) { return LINES_INTERSECT(out, a1, a2, b1, b2) != 0; }

} // namespace

TEST(Vec2f, Operators_AreComponentWiseWithTheVectorOnTheLeft)
{
    const Vec2f a{6.0f, -8.0f};
    EXPECT_EQ(a + Vec2f(1.0f, 2.0f), Vec2f(7.0f, -6.0f));
    EXPECT_EQ(a + 1.0f, Vec2f(7.0f, -7.0f));
    EXPECT_EQ(a - Vec2f(1.0f, 2.0f), Vec2f(5.0f, -10.0f));
    EXPECT_EQ(a - 1.0f, Vec2f(5.0f, -9.0f));
    EXPECT_EQ(a * Vec2f(2.0f, 0.5f), Vec2f(12.0f, -4.0f));
    EXPECT_EQ(a * 0.5f, Vec2f(3.0f, -4.0f));
    EXPECT_EQ(a / Vec2f(2.0f, -4.0f), Vec2f(3.0f, 2.0f));
    EXPECT_EQ(a / 2.0f, Vec2f(3.0f, -4.0f));
    EXPECT_EQ(a / int32_t(4), Vec2f(1.5f, -2.0f));
    EXPECT_EQ(Vec2f(int32_t(3), int32_t(-7)), Vec2f(3.0f, -7.0f));
}

TEST(Vec2f, DivisionByZero_GivesIeeeInfinityAndNaNUnchecked)
{
    const Vec2f r = Vec2f(1.0f, 0.0f) / 0.0f;
    EXPECT_TRUE(std::isinf(r.x));
    EXPECT_TRUE(std::isnan(r.y));
}

TEST(Vec2f, Lengths_ReplaceZeroAndNaNByOneSoCallersCanDivide)
{
    EXPECT_EQ(DIST(Vec2f(3.0f, 4.0f), Vec2f(3.0f, 4.0f)), 1.0f);
    EXPECT_EQ(MAGNITUDE(Vec2f()), 1.0f);
    EXPECT_EQ(MAGNITUDE(Vec2f(NAN, 0.0f)), 1.0f);
    EXPECT_EQ(DIST(Vec2f(0.0f, 0.0f), Vec2f(3.0f, 4.0f)), 5.0f);
    EXPECT_EQ(MAGNITUDE(Vec2f(-3.0f, 4.0f)), 5.0f);
}

TEST(Vec2f, Normalize_ScalesToUnitAndKeepsZeroVectorZero)
{
    Vec2f v{3.0f, 4.0f};
    NORMALIZE(v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    Vec2f zero;
    NORMALIZE(zero);
    EXPECT_EQ(zero, Vec2f());
}

TEST(Vec2f, Perp_PointsUpScreenForARightwardSegmentAndIsZeroForAPoint)
{
    EXPECT_EQ(PERP(Vec2f(0.0f, 0.0f), Vec2f(2.0f, 0.0f)), Vec2f(0.0f, -1.0f));
    const Vec2f degenerate = PERP(Vec2f(5.0f, 5.0f), Vec2f(5.0f, 5.0f));
    EXPECT_EQ(degenerate.x, 0.0f);
    EXPECT_EQ(degenerate.y, 0.0f);
    EXPECT_TRUE(std::signbit(degenerate.y));
}

TEST(Vec2f, LinesIntersect_CrossingAndEndPointTouchesMeet)
{
    Vec2f out = kUntouched;
    EXPECT_EQ(LINES_INTERSECT(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f), Vec2f(5.0f, -5.0f), Vec2f(5.0f, 5.0f)), -1);
    EXPECT_EQ(out, Vec2f(5.0f, 0.0f));

    out = kUntouched; // the other segment's end lies on the first: bounds are inclusive
    EXPECT_TRUE(meet(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f), Vec2f(10.0f, -5.0f), Vec2f(10.0f, 5.0f)));
    EXPECT_EQ(out, Vec2f(10.0f, 0.0f));

    out = kUntouched; // the first segment's start touches the second's end
    EXPECT_TRUE(meet(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 10.0f), Vec2f(-5.0f, 5.0f), Vec2f(0.0f, 0.0f)));
    EXPECT_EQ(out, Vec2f(0.0f, 0.0f));

    out = kUntouched;
    EXPECT_TRUE(meet(out, Vec2f(0.0f, 0.0f), Vec2f(0.0f, 10.0f), Vec2f(-5.0f, 5.0f), Vec2f(5.0f, 5.0f)));
    EXPECT_EQ(out, Vec2f(0.0f, 5.0f));
}

TEST(Vec2f, LinesIntersect_MissesLeaveTheOutArgumentAlone)
{
    Vec2f out = kUntouched;
    EXPECT_EQ(LINES_INTERSECT(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f), Vec2f(10.5f, -5.0f), Vec2f(10.5f, 5.0f)),
              0);
    EXPECT_EQ(out, kUntouched);
    // Beyond the second segment's ends (the v test) as well as the first's (the u test).
    EXPECT_FALSE(meet(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f), Vec2f(5.0f, 1.0f), Vec2f(5.0f, 5.0f)));
    EXPECT_EQ(out, kUntouched);
}

TEST(Vec2f, LinesIntersect_ParallelCollinearAndZeroLengthNeverMeet)
{
    Vec2f out = kUntouched;
    EXPECT_FALSE(meet(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f), Vec2f(5.0f, 0.0f), Vec2f(15.0f, 0.0f)));
    EXPECT_FALSE(meet(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f), Vec2f(0.0f, 1.0f), Vec2f(10.0f, 1.0f)));
    EXPECT_FALSE(meet(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f), Vec2f(5.0f, 0.0f), Vec2f(5.0f, 0.0f)));
    EXPECT_FALSE(meet(out, Vec2f(5.0f, 0.0f), Vec2f(5.0f, 0.0f), Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f)));
    EXPECT_EQ(out, kUntouched);
}

TEST(Vec2f, LinesIntersect_NaNEndsNeverMeet)
{
    Vec2f out = kUntouched;
    EXPECT_FALSE(meet(out, Vec2f(0.0f, 0.0f), Vec2f(10.0f, 0.0f), Vec2f(NAN, -5.0f), Vec2f(5.0f, 5.0f)));
    EXPECT_EQ(out, kUntouched);
}

TEST(Vec2f, Cdist_ApproximatesInverseSquareRootOfTheDotProduct)
{
    EXPECT_NEAR(CDIST(Vec2f(4.0f, 0.0f), Vec2f(1.0f, 0.0f)), 0.5f, 0.5f * 0.002f);
    EXPECT_NEAR(CDIST(Vec2f(3.0f, 4.0f), Vec2f(3.0f, 4.0f)), 0.2f, 0.2f * 0.002f);
}
