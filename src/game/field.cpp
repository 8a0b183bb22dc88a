// Building and splitting the asteroid field. The order of the random draws below is
// part of the behaviour (a seed must replay a field exactly): where a point is drawn,
// y's number comes first, and nothing may be reordered for tidiness.
#include "game/field.h"

#include "space/camera.h"
#include "platform/platform.h"
#include "space/world_size.h"
#include "base/exact_math.h"

#include <cmath>

namespace {

constexpr int kAsteroidsPerLevel = 20; // and one more: 21 on level 1
constexpr double kLevelShield = 5.0;
constexpr float kClearance = 25.0f; // no asteroid starts this close to the ship
// Only a world too small to hold the clearance runs out of tries; the asteroid then
// keeps the last place drawn rather than hang the game.
constexpr int kPlacementTries = 10000;

// 2 pi rounded to a 32-bit float's precision and widened again.
constexpr double kTau = 6.283185005187988;
constexpr int kDentOdds = 33; // one point in 33 is pushed out by a quarter
constexpr double kDent = 1.25;

// Fragments: smaller, as many points.
constexpr int kFragmentRadiusBase = 5;
constexpr int kFragmentRadiusSpread = 9;
constexpr int kCountBase = 5;
constexpr int kCountSpread = 10;
constexpr int kAsteroidRadiusBase = 15;
constexpr int kAsteroidRadiusSpread = 20;

// floor(RANDOM_UNIT() * range) as an int; range is a small constant or argument.
int randomBelow(int range) { return static_cast<int>(std::floor(RANDOM_UNIT() * range)); }

void placeAwayFrom(Entity& asteroid, Vec2f ship)
{
    for (int tries = 0; tries < kPlacementTries; ++tries) {
        asteroid.position = randomWorldPoint();
        if (DIST(asteroid.position, ship) >= kClearance) return;
    }
}

void makeAsteroid(Entity& asteroid, const Player& player, const Camera& camera, EffectSystem& effects)
{
    asteroid.effects = &effects;
    asteroid.active = true;
    MAKE_ASTEROID_SHAPE(asteroid, kAsteroidRadiusBase, kAsteroidRadiusSpread, kCountBase, kCountSpread);
    placeAwayFrom(asteroid, player.position);
    asteroid.speedFactor = static_cast<float>(RANDOM_UNIT() * 100.0 + 50.0);
    const float vy = static_cast<float>(RANDOM_UNIT() * 2.0 - 1.0);
    const float vx = static_cast<float>(RANDOM_UNIT() * 2.0 - 1.0);
    asteroid.velocity = {vx, vy};
    asteroid.turnRate = static_cast<float>(RANDOM_UNIT() * 4.0 - 2.0);
    asteroid.splittable = randomBelow(4) < 3;
    TRANSFORM(asteroid.model, asteroid.position, asteroid.angle, 1.0f, camera, false);
}

// A unit vector, not zero, tiny (its square underflowed) or not a number.
bool isUnit(Vec2f v)
{
    const double lengthSquared = double{v.x} * v.x + double{v.y} * v.y;
    return lengthSquared > 0.5 && lengthSquared < 2.0;
}

// Both unit vectors of a split: away from the hit point, and that turned a quarter.
// A hit point on the centre (or too close, or not a number) gives no direction; the
// pieces then part as if struck from below, so the split still happens.
void splitDirections(Vec2f centre, Vec2f hitPoint, Vec2f& away, Vec2f& side)
{
    away = centre - hitPoint;
    NORMALIZE(away);
    side = PERP(hitPoint, centre);
    NORMALIZE(side);
    if (!isUnit(away) || !isUnit(side)) {
        away = {0.0f, -1.0f};
        side = {away.y, -away.x};
    }
}

float randomSpeed() { return static_cast<float>(RANDOM_UNIT() * 2.0 + 0.1); }

// away * (10..15) and side * (5..10); the side's number is drawn first.
void pushApart(Vec2f& position, Vec2f away, Vec2f side, float sideSign)
{
    const float sideDistance = static_cast<float>(5.0 + RANDOM_UNIT() * 5.0);
    const float awayDistance = static_cast<float>(RANDOM_UNIT() * 5.0 + 10.0);
    position = position + away * awayDistance + side * (sideSign * sideDistance);
}

} // namespace

void NEW_LEVEL(Player& player, std::vector<Entity>& asteroids, Camera& camera, EffectSystem& effects)
{
    player.levelNumber = player.levelNumber + 1;
    player.effects = &effects;
    player.shieldEndTime = static_cast<float>(TIMER_SECONDS() + kLevelShield);
    player.flags |= kShieldFlag;
    camera.position = player.position - Camera::kHalfScreen; // not zoomed: the camera eases from there
    for (Shot& shot : player.shots) shot.active = false;

    const int64_t count = int64_t{kAsteroidsPerLevel} * player.levelNumber + 1;
    asteroids.assign(count > 0 ? static_cast<size_t>(count) : 0, Entity{});
    for (Entity& asteroid : asteroids) makeAsteroid(asteroid, player, camera, effects);
}

void MAKE_ASTEROID_SHAPE(Entity& asteroid, int radiusBase, int radiusSpread, int countBase, int countSpread)
{
    Model& model = asteroid.model;
    const int64_t lastIndex = int64_t{randomBelow(countSpread)} + countBase;
    const size_t n = lastIndex < 0 ? 0 : static_cast<size_t>(lastIndex) + 1;
    model.lines.assign(n, ModelLine{});
    model.transformed.assign(n, ModelLine{});
    for (size_t i = 0; i < n; ++i) {
        const size_t g = (i + 1) % n;
        const double a = kTau / static_cast<double>(n) * static_cast<double>(i);
        int radius = randomBelow(radiusSpread) + radiusBase;
        if (randomBelow(kDentOdds) == 0) radius = static_cast<int>(std::nearbyint(radius * kDent));
        const double r = radius;
        const Vec2f point{static_cast<float>(r * exact::cos(a)), static_cast<float>(-r * exact::sin(a))};
        model.lines[i].end = point;
        model.lines[g].start = point;
        // The last point's radius, not the largest: the broad tests allow for that.
        model.radius = radius;
    }
    CENTER(model);
}

void SPLIT_ASTEROID(std::vector<Entity>& asteroids, int index, Vec2f hitPoint)
{
    if (index < 0 || static_cast<size_t>(index) >= asteroids.size()) return;
    const size_t k = static_cast<size_t>(index);
    MAKE_ASTEROID_SHAPE(asteroids[k], kFragmentRadiusBase, kFragmentRadiusSpread, kCountBase, kCountSpread);
    asteroids[k].fragment = true;

    asteroids.emplace_back(); // may move the array: k is reached by index from here on
    const size_t j = asteroids.size() - 1;

    Vec2f away;
    Vec2f side;
    splitDirections(asteroids[k].position, hitPoint, away, side);

    Vec2f veer = away + side;
    NORMALIZE(veer);
    asteroids[k].velocity = veer * randomSpeed();
    pushApart(asteroids[k].position, away, side, 1.0f);

    Entity& piece = asteroids[j];
    MAKE_ASTEROID_SHAPE(piece, kFragmentRadiusBase, kFragmentRadiusSpread, kCountBase, kCountSpread);
    veer = away - side;
    NORMALIZE(veer);
    piece.velocity = veer * randomSpeed();
    piece.position = asteroids[k].position;
    pushApart(piece.position, away, side, -1.0f);
    piece.effects = asteroids[k].effects;
    piece.speedFactor = asteroids[k].speedFactor;
    piece.active = true;
    piece.fragment = true;
}
