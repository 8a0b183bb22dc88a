// Speed of the exact outline test on the pairs a crowded field hands it: every pair of
// a level's asteroids that passes the broad test, after a second of play, once from
// each side as the bounce meets them. Most are near but do not touch.
#include "asteroid_grid.h"
#include "camera.h"
#include "entity.h"
#include "field.h"
#include "headless.h"
#include "model.h"
#include "platform.h"
#include "world.h"

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

namespace {

void BM_NearPairs(benchmark::State& state)
{
    headless::reset();
    headless::setTime(100.0);
    RANDOM_SEED(42.0);
    const int oldWidth = WORLD_W;
    const int oldHeight = WORLD_H;
    WORLD_W = 2048;
    WORLD_H = 1536;
    Camera camera;
    EffectSystem effects;
    effects.INIT(1999);
    Player player;
    player.levelNumber = static_cast<int32_t>(state.range(0)) - 1;
    std::vector<Entity> asteroids;
    NEW_LEVEL(player, asteroids, camera, effects);
    AsteroidGrid grid;
    bool levelCleared = false;
    for (int frame = 0; frame < 50; ++frame) UPDATE_ASTEROIDS(asteroids, 0.02f, levelCleared, camera, grid);

    std::vector<std::pair<const Entity*, const Entity*>> pairs;
    grid.build(asteroids);
    for (size_t i = 0; i < asteroids.size(); ++i) {
        for (const int32_t j : grid.near(i)) pairs.emplace_back(&asteroids[i], &asteroids[j]);
    }
    int touching = 0;
    for (auto _ : state) {
        touching = 0;
        for (const auto& [a, b] : pairs) {
            Vec2f contact;
            touching += CHECK_MODEL_MODEL_COLLISION(a->model, a->position, b->model, b->position, contact) >= 0;
        }
        benchmark::DoNotOptimize(touching);
    }
    state.counters["pairs"] = static_cast<double>(pairs.size());
    state.counters["touching"] = touching;
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pairs.size()));
    WORLD_W = oldWidth;
    WORLD_H = oldHeight;
    headless::reset();
}

} // namespace

BENCHMARK(BM_NearPairs)->Arg(20)->Arg(60)->Unit(benchmark::kMicrosecond);
