// The asteroid field's frame step: the level-cleared flag, turning and moving by the
// speed factor, the wrap 50 units past the edges, and bouncing along the centre line
// with the mean speed, gated by the bounding-radius test; and the whole step held
// against the plain double loop over every pair on random fields.
#include "world/asteroid_grid.h"
#include "world/entity.h"
#include "support/plain_collision.h"
#include "support/world_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
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

namespace {

// The step as written down first: every active asteroid against every other, in index
// order, through the plain edge test. The grid and the faster edge test must give
// exactly this.
void plainStep(std::vector<Entity>& asteroids, float dt, const Camera& camera)
{
    const auto wrap = [](float& v, int size) {
        const float low = -50.0f, high = static_cast<float>(size + 50);
        if (v < low) v = high;
        if (v > high) v = low;
    };
    for (size_t i = 0; i < asteroids.size(); ++i) {
        Entity& a = asteroids[i];
        if (!a.active) continue;
        a.angle = a.angle + dt * a.turnRate;
        a.position = a.position + a.velocity * (dt * a.speedFactor);
        wrap(a.position.x, WORLD_W);
        wrap(a.position.y, WORLD_H);
        TRANSFORM(a.model, a.position, a.angle, 1.0f, camera, false);
        for (size_t j = 0; j < asteroids.size(); ++j) {
            Entity& b = asteroids[j];
            if (j == i || !b.active) continue;
            const Vec2f d = a.position - b.position;
            const float distanceSquared = d.x * d.x + d.y * d.y;
            const double ra = a.model.radius, rb = b.model.radius;
            if (!(distanceSquared <= 3.5 * (ra * ra + rb * rb))) continue;
            Vec2f contact;
            // The outlines carry the zoom, so their places do too: true sizes at any zoom.
            if (plainModelCollision(a.model, a.position * camera.zoom, b.model, b.position * camera.zoom, contact) < 0) {
                continue;
            }
            const float s = (MAGNITUDE(a.velocity) + MAGNITUDE(b.velocity)) / 2.0f;
            Vec2f n = d;
            NORMALIZE(n);
            a.velocity = n * s;
            b.velocity = n * -s;
        }
    }
}

// A random field of count asteroids packed densely enough to touch often, with
// asteroids on and past the wrap edges, coinciding centres (some with the same
// outline and angle), stale transforms, outlines of 3 to 15 points, a few inactive
// ones, and bounding radii below largestRadius, a few of them negative. Radii well
// below the outlines' size make the broad test decide which touching pairs bounce.
std::vector<Entity> randomField(std::mt19937& random, size_t count, Vec2f world, int32_t largestRadius)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float side = std::min(std::sqrt(static_cast<float>(count)) * 45.0f, world.x + 100.0f);
    std::vector<Entity> field(count);
    for (size_t k = 0; k < count; ++k) {
        Entity& asteroid = field[k];
        asteroid.active = unit(random) < 0.9f;
        asteroid.position = {-50.0f + side * unit(random), -50.0f + side * unit(random)};
        const uint32_t special = random() % 20;
        if (special == 0) asteroid.position.x = -50.0f;
        if (special == 1) asteroid.position.y = world.y + 50.0f;
        if (special == 2) asteroid.position.x = -51.0f - 10.0f * unit(random); // wraps on its first move
        asteroid.velocity = {unit(random) * 2.0f - 1.0f, unit(random) * 2.0f - 1.0f};
        asteroid.speedFactor = 150.0f * unit(random);
        asteroid.turnRate = unit(random) * 4.0f - 2.0f;
        asteroid.angle = unit(random) * 6.0f;
        const size_t points = 3 + random() % 13;
        for (size_t p = 0; p < points; ++p) {
            const double turn = 6.2831853 * static_cast<double>(p) / static_cast<double>(points);
            const double r = 8.0 + 30.0 * unit(random);
            ModelLine line;
            line.end = {static_cast<float>(r * std::cos(turn)), static_cast<float>(-r * std::sin(turn))};
            asteroid.model.lines.push_back(line);
        }
        asteroid.model.radius = static_cast<int32_t>(random() % static_cast<uint32_t>(largestRadius + 1));
        if (special == 3) asteroid.model.radius = -asteroid.model.radius;
        if (special >= 5 && special <= 7 && k > 0) { // on an earlier one's centre
            const Entity& earlier = field[random() % k];
            asteroid.position = earlier.position;
            if (special == 5) {
                asteroid.model = earlier.model;
                asteroid.angle = earlier.angle;
                asteroid.turnRate = earlier.turnRate;
            }
        }
        // Transformed as some frame long ago left it.
        TRANSFORM(asteroid.model, asteroid.position, asteroid.angle + unit(random), 1.0f, Camera{}, false);
    }
    return field;
}

} // namespace

TEST_F(AsteroidStep, Grid_BouncesExactlyAsThePlainDoubleLoop)
{
    // Count and largest bounding radius; a radius of 3000 makes the whole field one cell.
    const std::pair<size_t, int32_t> kFields[] = {{1, 40}, {2, 40}, {3, 12}, {17, 12}, {150, 40}, {150, 3000},
                                                   {700, 12}, {700, 47}, {2000, 8}};
    const float kSteps[] = {0.0f, 0.016f, 0.1f, 2.0f};
    const float kZooms[] = {1.0f, 0.5f, 3.0f};
    std::mt19937 random(401);
    int bounced = 0;
    for (size_t round = 0; round < std::size(kFields); ++round) {
        const auto [count, largestRadius] = kFields[round];
        std::vector<Entity> expected = randomField(random, count, {kWidth, kHeight}, largestRadius);
        asteroids = expected;
        for (size_t frame = 0; frame < 3; ++frame) {
            camera.zoom = kZooms[(round + frame) % std::size(kZooms)];
            const float dt = kSteps[(round + frame) % std::size(kSteps)];
            const std::vector<Entity> before = expected;
            plainStep(expected, dt, camera);
            step(dt);
            for (size_t k = 0; k < count; ++k) {
                const Entity& got = asteroids[k];
                const Entity& want = expected[k];
                ASSERT_TRUE(sameBits(got.position, want.position) && sameBits(got.velocity, want.velocity) &&
                            got.angle == want.angle)
                    << count << " asteroids, frame " << frame << ", asteroid " << k;
                for (size_t line = 0; line < want.model.transformed.size(); ++line) {
                    ASSERT_TRUE(sameBits(got.model.transformed[line].end, want.model.transformed[line].end));
                }
                bounced += !sameBits(want.velocity, before[k].velocity);
            }
        }
    }
    EXPECT_GT(bounced, 500) << "the fields should be crowded enough to bounce often";
}

TEST_F(AsteroidStep, Grid_FindsTouchingPairsWhereverTheFieldPutsThem)
{
    // Squares of half side 30 touch when their centres are at most 60 apart.
    const auto big = [](Vec2f position, int32_t radius, float speedFactor = 0.0f) {
        Entity asteroid = asteroidAt(position, {1.0f, 0.0f});
        asteroid.model = squareOutline(30.0f, radius);
        asteroid.speedFactor = speedFactor;
        return asteroid;
    };
    const struct {
        const char* what;
        std::vector<Entity> field;
        size_t touched; // an asteroid whose velocity the bounce must change
    } cases[] = {
        // Asteroid 1 ends its move at x = 175, past the cells the grid was built for
        // (x from -100 to 125), and touches asteroid 2 there.
        {"moved past the grid", {big({-100, 100}, 30), big({100, 100}, 30, 100.0f), big({125, 100}, 30)}, 2},
        {"negative radii", {big({100, 100}, -30), big({150, 100}, -30)}, 0},
        {"positions that are not finite",
         {big({100, 100}, 30), big({150, 100}, 30), big({INFINITY, 100.0f}, 30), big({NAN, 100.0f}, 30)}, 0},
    };
    for (const auto& c : cases) {
        std::vector<Entity> expected = c.field;
        asteroids = c.field;
        plainStep(expected, 0.75f, camera);
        step(0.75f);
        EXPECT_FALSE(sameBits(expected[c.touched].velocity, c.field[c.touched].velocity)) << c.what;
        for (size_t k = 0; k < expected.size(); ++k) {
            EXPECT_TRUE(sameBits(asteroids[k].velocity, expected[k].velocity)) << c.what << ", asteroid " << k;
        }
    }
}
