// The asteroid field's frame step: turn, move, wrap, transform and bounce. Asteroids
// are visited in index order and each bounces against all others at once, so a pair
// with j < i meets j already moved this frame and j > i meets it as last frame left
// it. The grid follows every move, so it offers each asteroid its neighbours where
// they stand at that moment, in index order: the bounces are exactly those of the
// plain double loop over all pairs, without its quadratic cost.
#include "world/entity.h"

#include "world/asteroid_grid.h"
#include "world/zoomed_collision.h"
#include "space/camera.h"
#include "space/world_size.h"

#include <cstdint>

namespace {

constexpr int kWrapMargin = 50; // how far an asteroid drifts past an edge before it comes back

// An asteroid that passes one margin comes back at the other, x and y each on its own.
void wrapWithMargin(float& coordinate, int size)
{
    const float low = static_cast<float>(-kWrapMargin);
    const float high = static_cast<float>(int64_t{size} + kWrapMargin); // no overflow for any size
    if (coordinate < low) coordinate = high;
    if (coordinate > high) coordinate = low;
}

// Touching asteroids leave along the line through their centres, away from each
// other, each with the mean of the two speeds. Coinciding centres give a zero line,
// which stops both. The grid has already kept the pair to those near enough.
void bounceIfTouching(Entity& a, Entity& b, float zoom)
{
    Vec2f scratch;
    if (modelsTouchAtZoom(a.model, a.position, b.model, b.position, zoom, scratch) < 0) return;
    const float s = (MAGNITUDE(a.velocity) + MAGNITUDE(b.velocity)) / 2.0f;
    Vec2f d = a.position - b.position;
    NORMALIZE(d);
    a.velocity = d * s;
    b.velocity = d * -s;
}

} // namespace

void UPDATE_ASTEROIDS(std::vector<Entity>& asteroids, float dt, bool& levelCleared, const Camera& camera,
                      AsteroidGrid& grid)
{
    levelCleared = true;
    grid.build(asteroids);
    const size_t count = asteroids.size();
    for (size_t i = 0; i < count; ++i) {
        Entity& asteroid = asteroids[i];
        if (!asteroid.active) continue;
        levelCleared = false;
        asteroid.angle = asteroid.angle + dt * asteroid.turnRate;
        asteroid.position = asteroid.position + asteroid.velocity * (dt * asteroid.speedFactor);
        wrapWithMargin(asteroid.position.x, WORLD_W);
        wrapWithMargin(asteroid.position.y, WORLD_H);
        TRANSFORM(asteroid.model, asteroid.position, asteroid.angle, 1.0f, camera, false);
        grid.move(i, asteroid.position);
        for (const int32_t j : grid.near(i)) bounceIfTouching(asteroid, asteroids[j], camera.zoom);
    }
}
