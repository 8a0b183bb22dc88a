// The asteroid field's frame step: the level-cleared flag, turning and moving by the
// speed factor, the wrap 50 units past the edges, and bouncing along the centre line
// with the mean speed, gated by the bounding-radius test.
#include "asteroid_grid.h"
#include "entity.h"
#include "world_helpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;

Entity asteroidAt(Vec2f position, Vec2f velocity = {0.0f, 0.0f})
{
    Entity asteroid;
    asteroid.active = true;
    asteroid.position = position;
    asteroid.velocity = velocity;
    asteroid.speedFactor = 100.0f;
    asteroid.model = squareOutline(10.0f, 10);
    return asteroid;
}

class AsteroidStep : public ::testing::Test {
protected:
    bool step(float dt = 0.0f)
    {
        bool cleared = false;
        UPDATE_ASTEROIDS(asteroids, dt, cleared, camera, grid);
        return cleared;
    }

    ScopedWorld world{kWidth, kHeight};
    Camera camera;
    std::vector<Entity> asteroids;
    AsteroidGrid grid;
};

} // namespace

TEST_F(AsteroidStep, LevelCleared_OnlyWhenNoAsteroidIsActive)
{
    EXPECT_TRUE(step()) << "an empty field";
    asteroids.push_back(asteroidAt({100, 100}));
    asteroids.push_back(asteroidAt({300, 100}));
    asteroids[0].active = asteroids[1].active = false;
    EXPECT_TRUE(step());
    asteroids[1].active = true;
    EXPECT_FALSE(step());
}

TEST_F(AsteroidStep, Motion_TurnsAndMovesByTheSpeedFactor)
{
    asteroids.push_back(asteroidAt({100, 100}, {1.0f, -0.5f}));
    asteroids[0].turnRate = -2.0f;
    asteroids[0].angle = 7.0f;
    step(0.25f);
    EXPECT_EQ(asteroids[0].position, Vec2f(125.0f, 87.5f));
    EXPECT_EQ(asteroids[0].angle, 6.5f) << "the angle is never reduced to a range";
    EXPECT_EQ(asteroids[0].velocity, Vec2f(1.0f, -0.5f));
}

TEST_F(AsteroidStep, Wrap_ComesBackFiftyUnitsBeyondTheOtherEdge)
{
    const float far = kWidth + 50.0f;
    const float low = kHeight + 50.0f;
    const struct {
        Vec2f before;
        Vec2f after;
    } cases[] = {
        {{-50.5f, 10.0f}, {far, 10.0f}}, {{far + 0.5f, 10.0f}, {-50.0f, 10.0f}}, {{-50.0f, 10.0f}, {-50.0f, 10.0f}},
        {{far, 10.0f}, {far, 10.0f}},    {{10.0f, -50.5f}, {10.0f, low}},         {{10.0f, low + 0.5f}, {10.0f, -50.0f}},
    };
    for (const auto& c : cases) {
        asteroids.assign(1, asteroidAt(c.before));
        step();
        EXPECT_EQ(asteroids[0].position, c.after) << c.before.x << "," << c.before.y;
    }
}

TEST_F(AsteroidStep, Transform_FollowsAngleAndZoom)
{
    asteroids.push_back(asteroidAt({100, 100}));
    asteroids[0].angle = 0.0f;
    camera.zoom = 0.5f;
    step();
    EXPECT_EQ(asteroids[0].model.transformed[1].end, Vec2f(5.0f, -5.0f)) << "the top-right corner at half size";
}

TEST_F(AsteroidStep, Bounce_BothLeaveAlongTheCentreLineWithTheMeanSpeed)
{
    // Base speeds 1 and 3, in directions that have nothing to do with the centre line.
    asteroids.push_back(asteroidAt({100, 100}, {0.6f, 0.8f}));
    asteroids.push_back(asteroidAt({115, 100}, {0.0f, -3.0f}));
    step();
    EXPECT_EQ(asteroids[0].velocity, Vec2f(-2.0f, 0.0f));
    EXPECT_EQ(asteroids[1].velocity, Vec2f(2.0f, 0.0f));
    EXPECT_EQ(asteroids[0].speedFactor, 100.0f);

    // Along a diagonal centre line the result points along it.
    asteroids[0] = asteroidAt({100, 100}, {1.0f, 0.0f});
    asteroids[1] = asteroidAt({90, 90}, {3.0f, 0.0f});
    step();
    EXPECT_FLOAT_EQ(asteroids[0].velocity.x, 2.0f * 0.70710678f);
    EXPECT_FLOAT_EQ(asteroids[0].velocity.y, 2.0f * 0.70710678f);
    EXPECT_FLOAT_EQ(asteroids[1].velocity.x, -2.0f * 0.70710678f);
}

TEST_F(AsteroidStep, Bounce_CoincidingCentresStopBoth)
{
    asteroids.push_back(asteroidAt({100, 100}, {1.0f, 0.0f}));
    asteroids.push_back(asteroidAt({100, 100}, {0.0f, 1.0f}));
    asteroids[1].model = squareOutline(5.0f, 5); // nested outlines do not touch...
    asteroids[1].model.lines[0].end = {12.0f, 0.0f}; // ...so one corner pokes out
    TRANSFORM(asteroids[1].model, {0, 0}, 0.0f, 1.0f, camera, false);
    step();
    EXPECT_EQ(asteroids[0].velocity, Vec2f(0.0f, 0.0f));
    EXPECT_EQ(asteroids[1].velocity, Vec2f(0.0f, 0.0f));
}

TEST_F(AsteroidStep, Bounce_FarPairsNeverReachTheOutlineTest)
{
    // The outlines cross, but bounding radii of 5 put the widened circles apart:
    // 15^2 = 225 > 3.5 * (25 + 25). With radii of 7 and 5 the pair is near enough.
    asteroids.push_back(asteroidAt({100, 100}, {1.0f, 0.0f}));
    asteroids.push_back(asteroidAt({115, 100}, {1.0f, 0.0f}));
    asteroids[0].model.radius = asteroids[1].model.radius = 5;
    step();
    EXPECT_EQ(asteroids[0].velocity, Vec2f(1.0f, 0.0f));
    asteroids[0].model.radius = 7;
    step();
    EXPECT_EQ(asteroids[0].velocity, Vec2f(-1.0f, 0.0f));

    // Near by radius but not touching: no bounce either.
    asteroids[1].position = {140.0f, 100.0f};
    asteroids[0].model.radius = asteroids[1].model.radius = 100;
    asteroids[1].velocity = {0.0f, 1.0f};
    step();
    EXPECT_EQ(asteroids[1].velocity, Vec2f(0.0f, 1.0f));
}

TEST_F(AsteroidStep, InactiveAsteroid_IsNeitherMovedTransformedNorBounced)
{
    asteroids.push_back(asteroidAt({100, 100}, {1.0f, 0.0f}));
    asteroids.push_back(asteroidAt({110, 100}, {1.0f, 1.0f}));
    asteroids[1].active = false;
    asteroids[1].turnRate = 1.0f;
    asteroids[1].angle = 0.25f;
    asteroids[1].model.transformed[0].end = {-3.0f, -3.0f}; // a stale transform
    step(0.1f);
    EXPECT_EQ(asteroids[1].position, Vec2f(110.0f, 100.0f));
    EXPECT_EQ(asteroids[1].velocity, Vec2f(1.0f, 1.0f));
    EXPECT_EQ(asteroids[1].angle, 0.25f);
    EXPECT_EQ(asteroids[1].model.transformed[0].end, Vec2f(-3.0f, -3.0f));
    EXPECT_EQ(asteroids[0].velocity, Vec2f(1.0f, 0.0f)) << "an inactive asteroid is no obstacle";
}

TEST_F(AsteroidStep, LaterAsteroidsAreMetWhereTheyWereLastFrame)
{
    // Asteroid 0 meets 1 where 1 lay at the end of last frame (touching); only then
    // does 1 take its own step, which carries it far away. Were 1 moved first, the
    // pair would never touch this frame.
    asteroids.push_back(asteroidAt({100, 100}, {0.0f, 0.0f}));
    asteroids.push_back(asteroidAt({115, 100}, {1.0f, 0.0f}));
    asteroids[0].speedFactor = 0.0f;
    step(0.5f); // 1 moves by 1 * 0.5 * 100 = 50, only after it was met by 0
    EXPECT_EQ(asteroids[0].velocity, Vec2f(-1.0f, 0.0f)) << "mean of MAGNITUDE(0,0) = 1 and 1";
    EXPECT_EQ(asteroids[1].velocity, Vec2f(1.0f, 0.0f));
    EXPECT_EQ(asteroids[1].position, Vec2f(165.0f, 100.0f));
}
