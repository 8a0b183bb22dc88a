// Exact outline collisions: the first crossing in index order decides the result and
// the contact point, positions are added to the transformed outlines, touching ends
// count, and an outline wholly inside another does not.
#include "camera.h"
#include "model.h"

#include <gtest/gtest.h>

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
