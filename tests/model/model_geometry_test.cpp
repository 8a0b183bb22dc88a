// Outline geometry: SEAL's derived starts in both lists, CENTER's rounding and
// truncating division, TRANSFORM's rotation sense and its "1.0 means the zoom" rule,
// and the in-place clamp of a colour turned into a pixel.
#include "space/camera.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

// A model whose vertices (ends) and texture points (texEnds) are given; starts empty.
Model outline(std::initializer_list<Vec2f> vertices)
{
    Model model;
    for (const Vec2f& vertex : vertices) {
        ModelLine line;
        line.end = vertex;
        line.texEnd = vertex + 100.0f;
        model.lines.push_back(line);
    }
    model.transformed.resize(model.lines.size());
    return model;
}

Model square() { return outline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}); }

} // namespace

TEST(Seal, DerivesEveryStartFromThePreviousEndInBothLists)
{
    Model model = square();
    for (size_t i = 0; i < model.transformed.size(); ++i) {
        model.transformed[i].end = Vec2f(static_cast<float>(i), -1.0f);
        model.transformed[i].texEnd = Vec2f(-1.0f, static_cast<float>(i));
    }
    SEAL(model);
    EXPECT_EQ(model.lines[0].start, Vec2f(0, 10));
    EXPECT_EQ(model.lines[0].end, Vec2f(0, 0));
    EXPECT_EQ(model.lines[2].start, Vec2f(10, 0));
    EXPECT_EQ(model.lines[2].end, Vec2f(10, 10));
    EXPECT_EQ(model.lines[0].texStart, Vec2f(100, 110));
    EXPECT_EQ(model.transformed[0].start, Vec2f(3, -1));
    EXPECT_EQ(model.transformed[1].start, Vec2f(0, -1));
    EXPECT_EQ(model.transformed[0].texStart, Vec2f(-1, 3));
}

TEST(Seal, OneLineStartsAtItsOwnEndAndAnEmptyModelStaysEmpty)
{
    Model one = outline({{3, 4}});
    SEAL(one);
    EXPECT_EQ(one.lines[0].start, Vec2f(3, 4));
    EXPECT_EQ(one.lines[0].texStart, Vec2f(103, 104));

    Model empty;
    SEAL(empty);
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_TRUE(empty.transformed.empty());
}

TEST(Center, MovesTheSquaresMeanToTheOriginAndRecordsIt)
{
    Model model = square();
    SEAL(model);
    model.transformed[0].end = {7, 7};
    CENTER(model);
    EXPECT_EQ(model.centre, Vec2f(5, 5));
    EXPECT_EQ(model.lines[0].end, Vec2f(-5, -5));
    EXPECT_EQ(model.lines[1].end, Vec2f(5, -5));
    EXPECT_EQ(model.lines[2].end, Vec2f(5, 5));
    EXPECT_EQ(model.lines[3].end, Vec2f(-5, 5));
    EXPECT_EQ(model.lines[0].start, Vec2f(-5, 5));
    EXPECT_EQ(model.lines[0].texEnd, Vec2f(100, 100)); // texture points stay
    EXPECT_EQ(model.transformed[0].end, Vec2f(7, 7));  // and so does transformed
}

TEST(Center, DividesTheRoundedSumTruncatingTowardZero)
{
    Model triangle = outline({{0, 0}, {1, 0}, {0, 1}});
    SEAL(triangle);
    CENTER(triangle); // sums 2 over 6 points
    EXPECT_EQ(triangle.centre, Vec2f(0, 0));
    EXPECT_EQ(triangle.lines[1].end, Vec2f(1, 0));

    Model negative = outline({{0, 0}, {0, 0}, {0, 0}, {0, 0}});
    negative.lines[0].start = {-13, 0}; // x sums to -13 over 8 points: -1.625
    CENTER(negative);
    EXPECT_EQ(negative.centre, Vec2f(-1, 0)); // flooring would give -2
    EXPECT_EQ(negative.lines[0].start, Vec2f(-12, 0));

    Model rounded = outline({{0, 0}, {0, 0}});
    rounded.lines[0].start = {3.75f, -3.75f}; // the sum rounds to 4 before the division by 4
    CENTER(rounded);
    EXPECT_EQ(rounded.centre, Vec2f(1, -1));
}

TEST(Center, OfAnEmptyModelOnlyResetsTheCentre)
{
    Model model;
    model.centre = {3, 3};
    CENTER(model);
    EXPECT_EQ(model.centre, Vec2f(0, 0));
    EXPECT_TRUE(model.lines.empty());
}

TEST(Transform, ScalesEndsByTheScaleOrByTheZoomWhenTheScaleIsOne)
{
    Model model = square();
    Camera camera;
    camera.zoom = 0.5f;
    TRANSFORM(model, {300, 200}, 0.0f, 2.0f, camera, false);
    EXPECT_EQ(model.transformed[2].end, Vec2f(20, 20)); // the position is not added
    TRANSFORM(model, {300, 200}, 0.0f, 1.0f, camera, false);
    EXPECT_EQ(model.transformed[2].end, Vec2f(5, 5));
    EXPECT_EQ(model.transformed[3].start, Vec2f(5, 5));
}

TEST(Transform, TurnsClockwiseOnScreen)
{
    Model model = outline({{1, 0}, {0, -1}});
    TRANSFORM(model, {0, 0}, std::numbers::pi_v<float> / 2.0f, 3.0f, Camera{}, false);
    EXPECT_NEAR(model.transformed[0].end.x, 0.0f, 1e-6f);
    EXPECT_NEAR(model.transformed[0].end.y, 3.0f, 1e-6f);
    EXPECT_NEAR(model.transformed[1].end.x, 3.0f, 1e-6f); // up turns to the right
    EXPECT_NEAR(model.transformed[1].end.y, 0.0f, 1e-6f);
}

TEST(Transform, KeepsLineEndsButSealsStartsInBothLists)
{
    Model model = outline({{1, 2}, {-3, 4}, {5, -6}});
    TRANSFORM(model, {0, 0}, 0.7f, 1.3f, Camera{}, false);
    for (size_t i = 0; i < 3; ++i) {
        const size_t previous = (i + 2) % 3;
        EXPECT_EQ(model.transformed[i].start, model.transformed[previous].end); // bit for bit
        EXPECT_EQ(model.lines[i].start, model.lines[previous].end);
        EXPECT_EQ(model.lines[i].texStart, model.lines[previous].texEnd);
    }
    EXPECT_EQ(model.lines[1].end, Vec2f(-3, 4));
}

TEST(Transform, GivesAModelWithAShortTransformedListItsFullLength)
{
    Model model = square();
    model.transformed.clear();
    TRANSFORM(model, {0, 0}, 0.0f, 2.0f, Camera{}, false);
    ASSERT_EQ(model.transformed.size(), 4u);
    EXPECT_EQ(model.transformed[1].end, Vec2f(20, 0));
}

TEST(Colour, ToPixelClampsTheChannelsInPlace)
{
    Colour colour(-51, 300, 128);
    EXPECT_EQ(colour.toPixel(), 0xFF00FF80u);
    EXPECT_EQ(colour.r, 0);
    EXPECT_EQ(colour.g, 255);
    EXPECT_EQ(colour.b, 128);
    EXPECT_EQ(colour.spare, 0);
}
