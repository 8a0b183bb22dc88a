// Exact outline collisions: the first crossing in index order decides the result and
// the contact point, positions are added to the transformed outlines, touching ends
// count, and an outline wholly inside another does not.
#include "space/camera.h"
#include "model/model.h"
#include "support/plain_collision.h"
#include "support/world_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const Vec2f kPreset{-77, 88};

// A square of the given half side around the origin, vertices in the order
// top-left, top-right, bottom-right, bottom-left, transformed with angle 0.
Model square(float halfSide)
{
    Model model;
    for (Vec2f vertex : {Vec2f(-0.5f, -0.5f), Vec2f(0.5f, -0.5f), Vec2f(0.5f, 0.5f), Vec2f(-0.5f, 0.5f)}) {
        ModelLine line;
        line.end = vertex;
        model.lines.push_back(line);
    }
    model.transformed.resize(4);
    TRANSFORM(model, {0, 0}, 0.0f, 2.0f * halfSide, Camera{}, false);
    return model;
}

} // namespace

TEST(ModelModelCollision, OverlappingSquaresHitAtTheFirstCrossingInIndexOrder)
{
    const Model a = square(1);
    const Model b = square(1);
    Vec2f contact = kPreset;
    EXPECT_EQ(CHECK_MODEL_MODEL_COLLISION(a, {0, 0}, b, {0.5f, 0.5f}, contact), 2);
    EXPECT_EQ(contact, Vec2f(1.0f, -0.5f));

    // Touching does not depend on the order, but the index and contact do.
    contact = kPreset;
    EXPECT_EQ(CHECK_MODEL_MODEL_COLLISION(b, {0.5f, 0.5f}, a, {0, 0}, contact), 0);
    EXPECT_EQ(contact, Vec2f(-0.5f, 1.0f));
}

TEST(ModelModelCollision, EmptyApartOrNestedOutlinesMissAndKeepTheContact)
{
    const Model big = square(10);
    const Model small = square(1);
    Vec2f contact = kPreset;
    EXPECT_EQ(CHECK_MODEL_MODEL_COLLISION(Model{}, {0, 0}, big, {0, 0}, contact), -1);
    EXPECT_EQ(CHECK_MODEL_MODEL_COLLISION(big, {0, 0}, Model{}, {0, 0}, contact), -1);
    EXPECT_EQ(CHECK_MODEL_MODEL_COLLISION(small, {0, 0}, big, {0, 0}, contact), -1);
    EXPECT_EQ(CHECK_MODEL_MODEL_COLLISION(small, {0, 0}, small, {2.5f, 0.0f}, contact), -1);
    EXPECT_EQ(contact, kPreset);
}

TEST(ModelModelCollision, VertexTouchingOutlinesHitAtThatVertex)
{
    const Model a = square(1);
    Vec2f contact = kPreset;
    // b's top-left corner lies on a's bottom-right corner; the edges there are only
    // collinear or meet at that one point.
    EXPECT_NE(CHECK_MODEL_MODEL_COLLISION(a, {0, 0}, a, {2, 2}, contact), -1);
    EXPECT_EQ(contact, Vec2f(1, 1));
}

TEST(ModelModelCollision, CollinearEdgesFarApartCrossWhenTheFloatTestSaysSo)
{
    // Two stretches of one slanted line, nearly 10 units apart: the float test rounds
    // its denominator and numerators from nothing into a crossing. The outlines'
    // boxes are apart, so a shortcut that skipped separated outlines would miss it.
    ModelLine aLine;
    aLine.start = {3.48428154f, 23.9186878f};
    aLine.end = {22.2213707f, 19.6014347f};
    ModelLine bLine;
    bLine.start = {31.7161789f, 17.4137154f};
    bLine.end = {48.7045059f, 13.4993992f};
    Model a;
    a.transformed = {aLine};
    Model b;
    b.transformed = {bLine};
    ASSERT_LT(aLine.end.x, bLine.start.x);
    Vec2f expected = kPreset;
    ASSERT_TRUE(LINES_INTERSECT(expected, aLine.start, aLine.end, bLine.start, bLine.end));
    Vec2f contact = kPreset;
    EXPECT_EQ(CHECK_MODEL_MODEL_COLLISION(a, {0, 0}, b, {0, 0}, contact), 0);
    EXPECT_TRUE(sameBits(contact, expected));
}

TEST(LineModelCollision, ReturnsTheLowestCrossedIndexWithItsPoint)
{
    const Model model = square(1);
    Vec2f contact = kPreset;
    // Crosses the right edge (line 2) first along the way, but line 0 (the left
    // edge) has the lower index and wins.
    EXPECT_EQ(CHECK_LINE_MODEL_COLLISION({15.0f, 10.5f}, {5.0f, 10.5f}, model, {10, 10}, contact), 0);
    EXPECT_EQ(contact, Vec2f(9.0f, 10.5f));
}

TEST(LineModelCollision, ASegmentEndingOnAnEdgeHits)
{
    const Model model = square(1);
    Vec2f contact = kPreset;
    EXPECT_EQ(CHECK_LINE_MODEL_COLLISION({10.25f, 5.0f}, {10.25f, 9.0f}, model, {10, 10}, contact), 1);
    EXPECT_EQ(contact, Vec2f(10.25f, 9.0f));
}

TEST(LineModelCollision, ASegmentAlongAnEdgeOrOutsideMisses)
{
    const Model model = square(1);
    Vec2f contact = kPreset;
    EXPECT_EQ(CHECK_LINE_MODEL_COLLISION({9.5f, 9.0f}, {10.5f, 9.0f}, model, {10, 10}, contact), -1);
    EXPECT_EQ(CHECK_LINE_MODEL_COLLISION({0, 0}, {5, 5}, model, {10, 10}, contact), -1);
    EXPECT_EQ(CHECK_LINE_MODEL_COLLISION({0, 0}, {5, 5}, Model{}, {10, 10}, contact), -1);
    EXPECT_EQ(contact, kPreset);
}

namespace {

// Points that stress the lanes' arithmetic: zeros of both signs, a subnormal, huge
// values whose products overflow, infinities and a NaN.
const float kWildCoordinates[] = {0.0f, -0.0f, 1e-40f, -3e-39f, 1e30f, -1e30f, 3e38f,
                                  INFINITY, -INFINITY, NAN, 0.5f, -16.0f};

// Outlines whose lines all lie on one slanted line, each a random stretch of it: their
// edges are collinear but for rounding, where the float test finds crossings even
// between stretches far apart. The line is shared by every outline made with the
// same direction and offset.
Model collinearOutline(std::mt19937& random, size_t lines, Vec2f direction, Vec2f offset)
{
    std::uniform_real_distribution<float> along(-40.0f, 40.0f);
    Model model;
    model.transformed.resize(lines);
    for (ModelLine& line : model.transformed) {
        line.start = offset + direction * along(random);
        line.end = offset + direction * along(random);
    }
    return model;
}

// Lines with independent ends (not a closed outline: the test must not rely on it),
// now and then a wild coordinate.
Model scatteredOutline(std::mt19937& random, size_t lines, float spread, bool wild)
{
    std::uniform_real_distribution<float> near(-spread, spread);
    std::uniform_int_distribution<size_t> pick(0, std::size(kWildCoordinates) - 1);
    const auto coordinate = [&] { return wild && random() % 16 == 0 ? kWildCoordinates[pick(random)] : near(random); };
    Model model;
    model.transformed.resize(lines);
    for (ModelLine& line : model.transformed) {
        line.start = {coordinate(), coordinate()};
        line.end = {coordinate(), coordinate()};
    }
    return model;
}

} // namespace

TEST(ModelModelCollision, FindsTheSameLineAndContactAsThePlainLoop)
{
    // Line counts around the four lanes and the 64-line window of b.
    const size_t kCounts[] = {0, 1, 3, 4, 5, 9, 15, 63, 64, 65, 130};
    std::mt19937 random(16);
    std::uniform_real_distribution<float> angle(0.0f, 6.2831853f);
    std::uniform_real_distribution<float> place(-500.0f, 2500.0f);
    int hits = 0;
    for (int n = 0; n < 6000; ++n) {
        const size_t aLines = kCounts[random() % std::size(kCounts)];
        const size_t bLines = kCounts[random() % std::size(kCounts)];
        Model a, b;
        Vec2f aPosition{place(random), place(random)};
        Vec2f bPosition = aPosition + Vec2f{place(random), place(random)} * 0.02f;
        switch (n % 3) {
        case 0: {
            const float turn = angle(random);
            const Vec2f direction{std::cos(turn), std::sin(turn)};
            a = collinearOutline(random, aLines, direction, Vec2f{});
            b = collinearOutline(random, bLines, direction, Vec2f{});
            bPosition = aPosition; // the same line on the field
            break;
        }
        case 1:
            a = scatteredOutline(random, aLines, 30.0f, false);
            b = scatteredOutline(random, bLines, 30.0f, false);
            break;
        default:
            a = scatteredOutline(random, aLines, 30.0f, true);
            b = scatteredOutline(random, bLines, 30.0f, true);
            break;
        }
        Vec2f expected = kPreset;
        Vec2f found = kPreset;
        const int plain = plainModelCollision(a, aPosition, b, bPosition, expected);
        ASSERT_EQ(CHECK_MODEL_MODEL_COLLISION(a, aPosition, b, bPosition, found), plain) << "pair " << n;
        ASSERT_TRUE(sameBits(found, expected)) << "pair " << n;
        hits += plain >= 0;
    }
    EXPECT_GT(hits, 1000) << "the pairs should cross often enough to test the first crossing";
}
