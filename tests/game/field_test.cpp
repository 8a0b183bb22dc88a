// The asteroid field: level 1 and later levels around the ship, random outlines and
// their ranges, splits into two fragments (also at a hit point on the centre), and
// the fixed order of random draws that makes one seed give one field.
#include "game/field.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/world_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 2048;
constexpr int kHeight = 1536;

class Field : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        headless::setTime(20.0);
        RANDOM_SEED(1234.0);
        player.position = {1000.0f, 700.0f};
        player.shots.assign(50, Shot{});
    }
    void TearDown() override { headless::reset(); }

    ScopedWorld world{kWidth, kHeight};
    Camera camera;
    EffectSystem effects;
    Player player;
    std::vector<Entity> asteroids;
};

// Distance of each outline point from where MAKE_ASTEROID_SHAPE drew it around,
// before CENTER moved the outline.
std::vector<float> pointRadii(const Model& model)
{
    std::vector<float> radii;
    for (const ModelLine& line : model.lines) {
        const Vec2f drawn = line.end + model.centre;
        radii.push_back(std::hypot(drawn.x, drawn.y));
    }
    return radii;
}

bool isWhole(float radius, int whole) { return std::fabs(radius - float(whole)) < 1e-3f; }

} // namespace

TEST_F(Field, NewLevel_BuildsLevelOneAroundTheShip)
{
    player.shots[7].active = true;
    player.flags = kLaserSightFlag;
    NEW_LEVEL(player, asteroids, camera, effects);
    EXPECT_EQ(player.levelNumber, 1);
    EXPECT_EQ(player.flags, kLaserSightFlag | kShieldFlag);
    EXPECT_EQ(player.shieldEndTime, 25.0f);
    EXPECT_EQ(player.effects, &effects);
    EXPECT_EQ(camera.position, Vec2f(680.0f, 460.0f));
    EXPECT_FALSE(player.shots[7].active);
    ASSERT_EQ(asteroids.size(), 21u);
    for (const Entity& asteroid : asteroids) {
        EXPECT_TRUE(asteroid.active);
        EXPECT_FALSE(asteroid.fragment);
        EXPECT_EQ(asteroid.effects, &effects);
        EXPECT_GE(DIST(asteroid.position, player.position), 25.0f);
        EXPECT_TRUE(asteroid.position.x >= 0.0f && asteroid.position.x < kWidth);
        EXPECT_TRUE(asteroid.position.y >= 0.0f && asteroid.position.y < kHeight);
        EXPECT_EQ(asteroid.angle, 0.0f);
        ASSERT_EQ(asteroid.model.transformed.size(), asteroid.model.lines.size()) << "transformed for drawing";
        EXPECT_EQ(asteroid.model.transformed[0].end, asteroid.model.lines[0].end) << "angle 0 at zoom 1";
    }
}

TEST_F(Field, NewLevel_EachLevelHasTwentyMoreAndNoneNearTheShip)
{
    // A crowded corner: the ship sits where many draws land within 25 units.
    ScopedWorld tiny{60, 60};
    player.position = {30.0f, 30.0f};
    for (int level = 1; level <= 3; ++level) {
        NEW_LEVEL(player, asteroids, camera, effects);
        ASSERT_EQ(asteroids.size(), size_t(20 * level + 1));
        for (const Entity& asteroid : asteroids) EXPECT_GE(DIST(asteroid.position, player.position), 25.0f);
    }
}

TEST_F(Field, NewLevel_AWorldTooSmallForTheClearanceStillEnds)
{
    ScopedWorld none{0, 0}; // as when the background cannot be read
    player.position = {0.0f, 0.0f};
    NEW_LEVEL(player, asteroids, camera, effects);
    EXPECT_EQ(asteroids.size(), 21u);
}

TEST_F(Field, Shape_OutlinesHaveSixToFifteenPointsWithinTheirRadii)
{
    int dents = 0;
    int points = 0;
    std::vector<int> counts(16, 0);
    for (int shape = 0; shape < 600; ++shape) {
        Entity asteroid;
        const bool fragment = shape % 2 == 1;
        const int base = fragment ? 5 : 15;
        const int spread = fragment ? 9 : 20;
        MAKE_ASTEROID_SHAPE(asteroid, base, spread, 5, 10);
        const Model& model = asteroid.model;
        ASSERT_GE(model.lines.size(), 6u);
        ASSERT_LE(model.lines.size(), 15u);
        ++counts[model.lines.size()];
        ASSERT_EQ(model.transformed.size(), model.lines.size());
        const std::vector<float> radii = pointRadii(model);
        for (size_t i = 0; i < radii.size(); ++i) {
            const int whole = int(std::lround(radii[i]));
            ASSERT_TRUE(isWhole(radii[i], whole)) << radii[i];
            const bool plain = whole >= base && whole < base + spread;
            bool dent = false;
            for (int r = base; r < base + spread; ++r) dent = dent || whole == int(std::nearbyint(r * 1.25));
            ASSERT_TRUE(plain || dent) << whole << " for base " << base;
            dents += whole >= base + spread;
            ++points;
            // Closed: each line starts where the previous one ends.
            EXPECT_EQ(model.lines[(i + 1) % radii.size()].start, model.lines[i].end);
        }
        EXPECT_TRUE(isWhole(radii.back(), model.radius)) << "the bounding radius is the last point's";
    }
    for (size_t n = 6; n <= 15; ++n) EXPECT_GT(counts[n], 0) << n << " points never drawn";
    EXPECT_GT(dents, 0) << "about one point in 33 is dented, of " << points;
    EXPECT_LT(dents, points / 10);
}

TEST_F(Field, Shape_PointsRunAnticlockwiseFromTheRight)
{
    Entity asteroid;
    MAKE_ASTEROID_SHAPE(asteroid, 20, 1, 7, 1); // 8 points, all of radius 20 (or 25)
    const Model& model = asteroid.model;
    ASSERT_EQ(model.lines.size(), 8u);
    const Vec2f first = model.lines[0].end + model.centre;
    const Vec2f third = model.lines[2].end + model.centre;
    EXPECT_GT(first.x, 0.0f);
    EXPECT_NEAR(first.y, 0.0f, 1e-4f);
    EXPECT_NEAR(third.x, 0.0f, 1e-4f);
    EXPECT_LT(third.y, 0.0f) << "a quarter turn on is up the screen";
}

TEST_F(Field, Shape_DrawsCountThenRadiusAndDentPerPoint)
{
    Entity asteroid;
    RANDOM_SEED(99.0);
    MAKE_ASTEROID_SHAPE(asteroid, 15, 20, 5, 10);
    RANDOM_SEED(99.0);
    const size_t n = size_t(std::floor(RANDOM_UNIT() * 10)) + 6;
    ASSERT_EQ(asteroid.model.lines.size(), n);
    const std::vector<float> radii = pointRadii(asteroid.model);
    for (size_t i = 0; i < n; ++i) {
        int radius = int(std::floor(RANDOM_UNIT() * 20)) + 15;
        if (std::floor(RANDOM_UNIT() * 33) == 0) radius = int(std::nearbyint(radius * 1.25));
        EXPECT_TRUE(isWhole(radii[i], radius)) << i << ": " << radii[i] << " vs " << radius;
    }
}

TEST_F(Field, NewLevel_DrawsShapePlaceSpeedVelocityTurnAndKindInThatOrder)
{
    player.position = {-1.0e4f, -1.0e4f}; // every first place is far enough
    RANDOM_SEED(5.0);
    NEW_LEVEL(player, asteroids, camera, effects);
    RANDOM_SEED(5.0);
    Entity scratch;
    for (const Entity& asteroid : asteroids) {
        MAKE_ASTEROID_SHAPE(scratch, 15, 20, 5, 10);
        ASSERT_EQ(scratch.model.lines.size(), asteroid.model.lines.size());
        const float y = float(RANDOM_UNIT() * kHeight);
        const float x = float(RANDOM_UNIT() * kWidth);
        EXPECT_EQ(asteroid.position, Vec2f(x, y));
        EXPECT_EQ(asteroid.speedFactor, float(RANDOM_UNIT() * 100 + 50));
        const float vy = float(RANDOM_UNIT() * 2 - 1);
        const float vx = float(RANDOM_UNIT() * 2 - 1);
        EXPECT_EQ(asteroid.velocity, Vec2f(vx, vy));
        EXPECT_EQ(asteroid.turnRate, float(RANDOM_UNIT() * 4 - 2));
        EXPECT_EQ(asteroid.splittable, std::floor(RANDOM_UNIT() * 4) < 3);
    }
}

TEST_F(Field, SameSeed_SameFieldPointForPoint)
{
    NEW_LEVEL(player, asteroids, camera, effects);
    const std::vector<Entity> first = asteroids;
    Player again;
    again.position = player.position;
    RANDOM_SEED(1234.0);
    NEW_LEVEL(again, asteroids, camera, effects);
    ASSERT_EQ(asteroids.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(asteroids[i].position, first[i].position);
        EXPECT_EQ(asteroids[i].velocity, first[i].velocity);
        EXPECT_EQ(asteroids[i].model.radius, first[i].model.radius);
        ASSERT_EQ(asteroids[i].model.lines.size(), first[i].model.lines.size());
        for (size_t l = 0; l < first[i].model.lines.size(); ++l) {
            EXPECT_EQ(asteroids[i].model.lines[l].end, first[i].model.lines[l].end);
        }
    }
}

TEST_F(Field, Split_KeepsIndexAndAppendsOneFragmentFlyingAwayInAV)
{
    NEW_LEVEL(player, asteroids, camera, effects);
    const std::vector<Entity> field = asteroids;
    const size_t before = asteroids.size();
    const int k = 4;
    const Entity original = asteroids[k];
    const Vec2f hit = original.position + Vec2f{-10.0f, 0.0f}; // struck from the left
    SPLIT_ASTEROID(asteroids, k, hit);
    ASSERT_EQ(asteroids.size(), before + 1);
    const Entity& kept = asteroids[k];
    const Entity& piece = asteroids.back();
    for (const Entity* fragment : {&kept, &piece}) {
        EXPECT_TRUE(fragment->active);
        EXPECT_TRUE(fragment->fragment);
        EXPECT_EQ(fragment->speedFactor, original.speedFactor);
        EXPECT_EQ(fragment->effects, &effects);
        const std::vector<float> radii = pointRadii(fragment->model);
        ASSERT_TRUE(radii.size() >= 6 && radii.size() <= 15);
        for (float r : radii) EXPECT_TRUE(r > 4.99f && r < 16.01f) << r;
        const float speed = std::hypot(fragment->velocity.x, fragment->velocity.y);
        EXPECT_TRUE(speed >= 0.0999f && speed < 2.1001f) << speed;
        EXPECT_GT(fragment->velocity.x, 0.0f) << "both fly away from the hit point";
    }
    EXPECT_EQ(kept.splittable, original.splittable);
    EXPECT_FALSE(piece.splittable);
    // side = away turned a quarter: (0, -1) for away (1, 0); kept veers up, piece down.
    EXPECT_LT(kept.velocity.y, 0.0f);
    EXPECT_GT(piece.velocity.y, 0.0f);
    EXPECT_GT(kept.position.x - original.position.x, 9.99f);
    EXPECT_LT(kept.position.y - original.position.y, -4.99f);
    EXPECT_GT(piece.position.x - kept.position.x, 9.99f);
    EXPECT_GT(piece.position.y - kept.position.y, 4.99f);
    for (const ModelLine& line : piece.model.transformed) {
        EXPECT_EQ(line.end, Vec2f(0.0f, 0.0f)) << "sized but left for the next asteroid update to fill";
    }
    for (size_t i = 0; i < before; ++i) {
        if (i != size_t(k)) {
            EXPECT_EQ(asteroids[i].position, field[i].position) << "the others stay as they were";
        }
    }
}

TEST_F(Field, Split_DrawsSideBeforeAwayForEachPiece)
{
    std::vector<Entity> field(1);
    field[0].position = {100.0f, 100.0f};
    field[0].active = true;
    RANDOM_SEED(8.0);
    SPLIT_ASTEROID(field, 0, {100.0f, 110.0f}); // struck from below: away is up
    RANDOM_SEED(8.0);
    Entity scratch;
    MAKE_ASTEROID_SHAPE(scratch, 5, 9, 5, 10);
    const float speedK = float(RANDOM_UNIT() * 2.0 + 0.1);
    const float sideK = float(5.0 + RANDOM_UNIT() * 5.0);
    const float awayK = float(RANDOM_UNIT() * 5.0 + 10.0);
    MAKE_ASTEROID_SHAPE(scratch, 5, 9, 5, 10);
    const float speedJ = float(RANDOM_UNIT() * 2.0 + 0.1);
    const float sideJ = float(5.0 + RANDOM_UNIT() * 5.0);
    const float awayJ = float(RANDOM_UNIT() * 5.0 + 10.0);
    // away = (0, -1), side = (-1, 0).
    const Vec2f k{100.0f - sideK, 100.0f - awayK};
    EXPECT_EQ(field[0].position, k);
    EXPECT_EQ(field[1].position, Vec2f(k.x + sideJ, k.y - awayJ));
    EXPECT_FLOAT_EQ(std::hypot(field[0].velocity.x, field[0].velocity.y), speedK);
    EXPECT_FLOAT_EQ(std::hypot(field[1].velocity.x, field[1].velocity.y), speedJ);
    EXPECT_EQ(field[1].model.lines.size(), scratch.model.lines.size());
}

TEST_F(Field, Split_AtTheCentreStillSplitsWithoutNaN)
{
    std::vector<Entity> field(1);
    field[0].position = {100.0f, 100.0f};
    field[0].active = true;
    for (const Vec2f hit : {Vec2f{100.0f, 100.0f}, Vec2f{NAN, 0.0f}}) {
        SPLIT_ASTEROID(field, 0, hit);
        for (const Entity& fragment : field) {
            EXPECT_TRUE(std::isfinite(fragment.position.x) && std::isfinite(fragment.position.y));
            EXPECT_TRUE(std::isfinite(fragment.velocity.x) && std::isfinite(fragment.velocity.y));
            EXPECT_GT(std::hypot(fragment.velocity.x, fragment.velocity.y), 0.09f);
        }
    }
    EXPECT_EQ(field.size(), 3u);
    EXPECT_LT(field[0].position.y, 100.0f) << "parted as if struck from below";
    EXPECT_NE(field[0].position, field[1].position);

    SPLIT_ASTEROID(field, 3, {0, 0});
    SPLIT_ASTEROID(field, -1, {0, 0});
    EXPECT_EQ(field.size(), 3u) << "an index outside the array does nothing";
}
