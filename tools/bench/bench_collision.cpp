// Speed of the exact outline test on the pairs a crowded field hands it: every pair of
// a level's asteroids that passes the broad test, after a second of play, once from
// each side as the bounce meets them. Most are near but do not touch.
#include "bench_field.h"
#include "model/model.h"

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

namespace {

void BM_NearPairs(benchmark::State& state)
{
    BenchField field(state.range(0), 2048, 1536);
    std::vector<Entity>& asteroids = field.asteroids;
    AsteroidGrid& grid = field.grid;
    bool levelCleared = false;
    for (int frame = 0; frame < 50; ++frame) UPDATE_ASTEROIDS(asteroids, 0.02f, levelCleared, field.camera, grid);

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
}

} // namespace

BENCHMARK(BM_NearPairs)->Arg(20)->Arg(60)->Unit(benchmark::kMicrosecond);
