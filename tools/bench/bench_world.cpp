// Speed of one frame of world updates (UPDATE_PLAYER, UPDATE_ASTEROIDS and the effect
// pool's UPDATE) on the game's 2048 x 1536 world at levels 1, 5, 20 and 60 (21, 101,
// 401 and 1,201 asteroids), with a pool holding a hundred sparks. The same world
// holds more asteroids at every level, so their pairs grow as the square of their
// number; BM_WorldFrameSameCrowding grows the world with the field instead, keeping
// as many asteroids to the square unit as level 20 has, which shows how the work
// grows with the number of asteroids alone. The sparks live as a
// rock blast's do in the game, a second each, and are renewed every simulated second:
// sparks that never end would slow to speeds too small for normal floats, a cost no
// player meets. The report also shows the allocations a frame makes, which must be none.
#include "bench_field.h"
#include "heap_count.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kFrameSeconds = 0.02f;
constexpr int kFramesPerSecond = 50;
constexpr int kBlasts = 5;
constexpr int32_t kHighestSpark = 19; // twenty sparks a blast

// A second of play has passed: the clock moves on, so the last blasts end in the next
// update, and new ones start at the first asteroids.
void renewBlasts(double& clock, EffectSystem& effects, const std::vector<Entity>& asteroids)
{
    clock += 1.0;
    headless::setTime(clock);
    const float end = static_cast<float>(clock + 1.0);
    for (int i = 0; i < kBlasts; ++i) {
        effects.SPAWN_EXPLOSION(asteroids[i].position, 2.0f, kHighestSpark, EFFECT_STREAK, end);
    }
}

// Frames at level state.range(0) on a world of the given size.
void runWorldFrames(benchmark::State& state, int width, int height)
{
    BenchField field(state.range(0), width, height);
    Camera& camera = field.camera;
    EffectSystem& effects = field.effects;
    Player& player = field.player;
    std::vector<Entity>& asteroids = field.asteroids;
    AsteroidGrid& grid = field.grid;
    double clock = BenchField::kStartSeconds; // moves by whole seconds only, when the blasts are renewed
    renewBlasts(clock, effects, asteroids);
    player.flags = 0; // collide for real: the ship test runs to the outline test when near
    player.thrustVector = {0.0f, -1.0f};
    player.thrustLevel = 1.0f;
    bool levelCleared = false;

    // One frame first, so every model is transformed and sized.
    UPDATE_PLAYER(player, asteroids, kFrameSeconds, camera);
    UPDATE_ASTEROIDS(asteroids, kFrameSeconds, levelCleared, camera, grid);
    effects.UPDATE(kFrameSeconds, camera);
    long long frameAllocations = 0; // counted around the updates only, not the bench's own work
    int frame = 0;
    for (auto _ : state) {
        if (++frame % kFramesPerSecond == 0) {
            state.PauseTiming();
            renewBlasts(clock, effects, asteroids);
            state.ResumeTiming();
        }
        const long long before = heap_count::allocations();
        UPDATE_PLAYER(player, asteroids, kFrameSeconds, camera);
        UPDATE_ASTEROIDS(asteroids, kFrameSeconds, levelCleared, camera, grid);
        effects.UPDATE(kFrameSeconds, camera);
        frameAllocations += heap_count::allocations() - before;
        benchmark::DoNotOptimize(asteroids.data());
        benchmark::ClobberMemory();
    }
    state.counters["asteroids"] = static_cast<double>(asteroids.size());
    state.counters["allocs/frame"] =
        static_cast<double>(frameAllocations) / static_cast<double>(state.iterations());
}

void BM_WorldFrame(benchmark::State& state) { runWorldFrames(state, 2048, 1536); }

void BM_WorldFrameSameCrowding(benchmark::State& state)
{
    const double asteroids = 20.0 * static_cast<double>(state.range(0)) + 1.0;
    const double scale = std::sqrt(asteroids / 401.0);
    runWorldFrames(state, static_cast<int>(2048.0 * scale), static_cast<int>(1536.0 * scale));
}

} // namespace

BENCHMARK(BM_WorldFrame)->Arg(1)->Arg(5)->Arg(20)->Arg(60)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WorldFrameSameCrowding)->Arg(20)->Arg(60)->Unit(benchmark::kMicrosecond);
