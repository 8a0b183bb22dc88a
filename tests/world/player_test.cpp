// The ship's frame step and its resources: the speed cap, the move and wrap, the
// heading, contacts with asteroids (shield, dead ship, several at once), the timed
// shield and laser sight, and the fuel and battery bounds.
#include "world/entity.h"
#include "platform/headless/headless.h"
#include "support/world_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;

class PlayerStep : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        headless::setTime(100.0);
        player.active = true;
        player.position = {500.0f, 400.0f};
        player.model = squareOutline(10.0f, 10);
    }
    void TearDown() override { headless::reset(); }

    // An asteroid whose outline crosses the ship's, at the given offset from it.
    Entity touchingAsteroid(Vec2f offset) const
    {
        Entity asteroid;
        asteroid.active = true;
        asteroid.model = squareOutline(10.0f, 10);
        asteroid.position = player.position + offset;
        return asteroid;
    }

    void step(float dt = 0.0f) { UPDATE_PLAYER(player, asteroids, dt, camera); }

    ScopedWorld world{kWidth, kHeight};
    Camera camera;
    Player player;
    std::vector<Entity> asteroids;
};

} // namespace

TEST_F(PlayerStep, SpeedCap_KeepsDirectionAndStoresTheSpeedFromBefore)
{
    player.velocity = {2.4f, -3.2f}; // magnitude 4
    step();
    EXPECT_FLOAT_EQ(player.speed, 4.0f);
    EXPECT_FLOAT_EQ(player.velocity.x, 1.8f);
    EXPECT_FLOAT_EQ(player.velocity.y, -2.4f);

    player.velocity = {0.0f, 2.0f};
    step();
    EXPECT_EQ(player.speed, 2.0f);
    EXPECT_EQ(player.velocity, Vec2f(0.0f, 2.0f)) << "below the cap the velocity is left alone";
}

TEST_F(PlayerStep, Thrust_AcceleratesThenTheShipMovesFiftyTimesItsVelocityPerSecond)
{
    player.thrustVector = {0.0f, -1.0f};
    player.thrustLevel = 10.0f;
    step(0.1f); // velocity becomes (0, -1), then moves 50 * 0.1 = 5 units
    EXPECT_EQ(player.velocity, Vec2f(0.0f, -1.0f));
    EXPECT_FLOAT_EQ(player.position.y, 395.0f);
    EXPECT_EQ(player.position.x, 500.0f);
}

TEST_F(PlayerStep, Wrap_SendsTheShipToTheOppositeEdgeExactly)
{
    const float w = static_cast<float>(kWidth);
    const float h = static_cast<float>(kHeight);
    const struct {
        Vec2f before;
        Vec2f after;
    } cases[] = {
        {{-0.1f, 10.0f}, {w, 10.0f}}, {{w + 0.1f, 10.0f}, {0.0f, 10.0f}}, {{w, 10.0f}, {w, 10.0f}},
        {{10.0f, -0.1f}, {10.0f, h}}, {{10.0f, h + 0.1f}, {10.0f, 0.0f}}, {{10.0f, h}, {10.0f, h}},
        {{-0.1f, h + 0.1f}, {w, 0.0f}},
    };
    for (const auto& c : cases) {
        player.position = c.before;
        step();
        EXPECT_EQ(player.position, c.after) << c.before.x << "," << c.before.y;
    }
}

TEST_F(PlayerStep, Model_IsTurnedWithTheShipAtTheCamerasZoomAndTheHeadingFollows)
{
    player.angle = static_cast<float>(M_PI / 2); // nose to the right
    camera.zoom = 2.0f;
    step();
    // The top-left corner (-10, -10) turned a quarter clockwise is (10, -10), doubled.
    EXPECT_NEAR(player.model.transformed[0].end.x, 20.0f, 1e-4f);
    EXPECT_NEAR(player.model.transformed[0].end.y, -20.0f, 1e-4f);
    EXPECT_FLOAT_EQ(player.heading.x, 1.0f);
    EXPECT_NEAR(player.heading.y, 0.0f, 1e-7f);
}

TEST_F(PlayerStep, Contact_WithoutShieldFlagsShipAndAsteroidAtTheContactPoint)
{
    asteroids.push_back(touchingAsteroid({15.0f, 5.0f}));
    asteroids[0].hitPoint = {-1.0f, -1.0f}; // a stale shot's hit point
    step();
    EXPECT_TRUE(player.hit);
    EXPECT_TRUE(asteroids[0].hit);
    EXPECT_FLOAT_EQ(player.respawnTime, 103.0f);
    // The ship's right edge (x = 510) meets the asteroid's top edge (y = 395).
    EXPECT_EQ(asteroids[0].hitPoint, Vec2f(510.0f, 395.0f));
}

TEST_F(PlayerStep, Contact_FlagsEveryTouchedAsteroidInOneFrame)
{
    asteroids.push_back(touchingAsteroid({15.0f, 0.0f}));
    asteroids.push_back(touchingAsteroid({300.0f, 0.0f})); // far away
    asteroids.push_back(touchingAsteroid({-15.0f, 5.0f}));
    step();
    EXPECT_TRUE(asteroids[0].hit);
    EXPECT_FALSE(asteroids[1].hit);
    EXPECT_TRUE(asteroids[2].hit);
    EXPECT_TRUE(player.hit);
}

TEST_F(PlayerStep, Contact_UnderTheShieldChangesNothing)
{
    asteroids.push_back(touchingAsteroid({15.0f, 0.0f}));
    asteroids[0].hitPoint = {-1.0f, -1.0f};
    player.flags = kShieldFlag;
    player.shieldEndTime = 200.0f;
    step();
    EXPECT_FALSE(player.hit);
    EXPECT_FALSE(asteroids[0].hit);
    EXPECT_EQ(player.respawnTime, 0.0f);
    EXPECT_EQ(asteroids[0].hitPoint, Vec2f(-1.0f, -1.0f));
}

TEST_F(PlayerStep, Contact_DeadShipOrInactiveAsteroidFlagsNothing)
{
    asteroids.push_back(touchingAsteroid({0.0f, 5.0f}));
    asteroids.push_back(touchingAsteroid({5.0f, 0.0f}));
    asteroids[1].active = false;
    player.active = false;
    step();
    EXPECT_FALSE(asteroids[0].hit);
    EXPECT_FALSE(player.hit);
    player.active = true;
    step();
    EXPECT_TRUE(asteroids[0].hit);
    EXPECT_FALSE(asteroids[1].hit) << "an inactive asteroid never collides";
}

TEST_F(PlayerStep, BroadTest_UsesTheBoundingRadiiNotTheOutlines)
{
    // Outlines that cross, but radii so small that the widened circles are apart:
    // 15^2 = 225 > 3.5 * (5^2 + 5^2) = 175.
    asteroids.push_back(touchingAsteroid({15.0f, 0.0f}));
    asteroids[0].model.radius = 5;
    player.model.radius = 5;
    step();
    EXPECT_FALSE(asteroids[0].hit);
    player.model.radius = 6; // 3.5 * (36 + 25) = 213.5: still apart
    step();
    EXPECT_FALSE(asteroids[0].hit);
    player.model.radius = 7; // 3.5 * (49 + 25) = 259: near enough for the exact test
    step();
    EXPECT_TRUE(asteroids[0].hit);
}

TEST_F(PlayerStep, Shield_EndsInTheFirstStepAfterItsEndTime)
{
    player.flags = kShieldFlag | kLaserSightFlag;
    player.shieldEndTime = 100.5f;
    player.laserSightEndTime = 1000.0f;
    headless::setTime(100.5);
    step();
    EXPECT_EQ(player.flags, kShieldFlag | kLaserSightFlag) << "not yet later than the end";
    headless::setTime(100.501);
    step();
    EXPECT_EQ(player.flags, kLaserSightFlag);
}

TEST_F(PlayerStep, LaserSight_TurnsTheDashesTwoBitsAFrameUntilItEnds)
{
    player.flags = kLaserSightFlag;
    player.laserSightEndTime = 101.0f;
    step();
    EXPECT_EQ(player.laserLineStyle, 0xC03F);
    for (int frame = 2; frame <= 8; ++frame) step();
    EXPECT_EQ(player.laserLineStyle, 0x00FF) << "eight turns of two bits are a whole turn";

    headless::setTime(101.5);
    step();
    EXPECT_EQ(player.laserLineStyle, 0xC03F) << "the last frame still turns the pattern";
    EXPECT_EQ(player.flags, 0);
    step();
    EXPECT_EQ(player.laserLineStyle, 0xC03F) << "the sight is off";
}

TEST(PlayerResources, FuelAndBatteryKeepOnlyTheirOwnBound)
{
    Player player;
    player.fuel = 95.0f;
    ADD_FUEL(player, 10.0f);
    EXPECT_EQ(player.fuel, 100.0f);
    SUBTRACT_FUEL(player, 30.5f);
    EXPECT_EQ(player.fuel, 69.5f);
    SUBTRACT_FUEL(player, 100.0f);
    EXPECT_EQ(player.fuel, 0.0f);
    ADD_FUEL(player, -5.0f);
    EXPECT_EQ(player.fuel, -5.0f) << "adding checks only the upper bound";

    player.battery = 0.5f;
    SUBTRACT_BATTERY(player, 2.0f);
    EXPECT_EQ(player.battery, 0.0f);
    ADD_BATTERY(player, 99.75f);
    EXPECT_EQ(player.battery, 99.75f);
    ADD_BATTERY(player, 1.0f);
    EXPECT_EQ(player.battery, 100.0f);
    SUBTRACT_BATTERY(player, -50.0f);
    EXPECT_EQ(player.battery, 150.0f) << "subtracting checks only the lower bound";
}
