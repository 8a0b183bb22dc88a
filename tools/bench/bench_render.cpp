// Speed of the software renderer: the textured filler on screen-sized and on small
// triangles, ROTOZOOM of a background and ROTOZOOM_BLEND of a flame onto the 640x480
// screen, and one frame's memcpy as the floor the blitter is compared with. The
// pictures are the game's own files under data/visual.
#include "render/rotozoom.h"
#include "platform/headless/headless.h"
#include "render/image.h"
#include "platform/platform.h"
#include "png/png.h"
#include "render/triangles.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kTransparent = 0xFFFF00FF;
constexpr int kFramePixels = SCREEN_WIDTH * SCREEN_HEIGHT;

// The open, locked headless screen and a depth buffer, for the whole benchmark.
struct Screen {
    Screen()
    {
        headless::reset();
        SCREEN_OPEN(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 1, 0, 0);
        SCREEN_LOCK();
        allocateDepthBuffer(SCREEN_WIDTH, SCREEN_HEIGHT);
    }
    ~Screen()
    {
        freeDepthBuffer();
        SCREEN_UNLOCK();
        headless::reset();
    }
};

// The game's own pictures, as the game loads them; a missing one skips the benchmark
// (its timed loop then never runs) instead of timing a draw of nothing.
Image* loadPicture(benchmark::State& state, const char* name)
{
    Image* image = PNG_LOAD(std::string(SOURCE_DIR) + "/data/visual/" + name, 2);
    if (!image) state.SkipWithError((std::string("cannot load data/visual/") + name).c_str());
    return image;
}

struct Triangle {
    float x[3], y[3], u[3], v[3];
};

void drawTextured(const Triangle& t, float z, const Image* texture)
{
    TFPCSPTRI_ORIG(nullptr, t.x[0], t.y[0], z, t.u[0], t.v[0], t.x[1], t.y[1], z, t.u[1], t.v[1], t.x[2], t.y[2], z,
                   t.u[2], t.v[2], 20, texture);
}

// Each iteration draws nearer than the last (1/z = iteration), so every pixel passes
// the depth test without clearing the buffer inside the timed loop.
float nearer(int64_t iteration) { return 1.0f / float(iteration + 1); }

void BM_TexturedLargeTriangles(benchmark::State& state)
{
    Screen screen;
    Image* texture = loadPicture(state, "ship3.png");
    const Triangle halves[2] = {{{0, 640, 0}, {0, 0, 480}, {0, 512, 0}, {0, 0, 384}},
                                {{640, 640, 0}, {0, 480, 480}, {512, 512, 0}, {0, 384, 384}}};
    int64_t iteration = 0;
    for (auto _ : state) {
        const float z = nearer(iteration++);
        drawTextured(halves[0], z, texture);
        drawTextured(halves[1], z, texture);
        benchmark::ClobberMemory();
    }
    state.counters["pixels/s"] =
        benchmark::Counter(double(kFramePixels) * double(state.iterations()), benchmark::Counter::kIsRate);
    destroyImage(texture);
}
BENCHMARK(BM_TexturedLargeTriangles);

void BM_TexturedSmallTriangles(benchmark::State& state)
{
    Screen screen;
    Image* texture = loadPicture(state, "ship3.png");
    // 2000 triangles of about 30 pixels (legs near 8) anywhere on the screen.
    std::mt19937 random(2000);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<Triangle> triangles(2000);
    for (Triangle& t : triangles) {
        const float cx = 10 + 620 * unit(random), cy = 10 + 460 * unit(random), angle = 6.2831853f * unit(random);
        const float cs = std::cos(angle) * 7.75f, sn = std::sin(angle) * 7.75f;
        t = {{cx, cx + cs, cx - sn}, {cy, cy + sn, cy + cs}, {0, 31, 0}, {0, 0, 31}};
    }
    // Pixels drawn per pass: each triangle alone, nearer than all before it.
    Image* scratch = createImage(SCREEN_WIDTH, SCREEN_HEIGHT);
    int64_t pixels = 0;
    for (size_t i = 0; i < triangles.size(); ++i) {
        const Triangle& t = triangles[i];
        const float z = nearer(int64_t(i));
        FTRI(scratch, t.x[0], t.y[0], z, t.x[1], t.y[1], z, t.x[2], t.y[2], z, uint32_t(i + 1));
        for (uint32_t y = 0; y < scratch->height; ++y) {
            pixels += std::count(imageRow(scratch, y), imageRow(scratch, y) + scratch->width, uint32_t(i + 1));
        }
    }
    destroyImage(scratch);
    clearDepthBuffer();
    int64_t iteration = 0;
    for (auto _ : state) {
        const float z = nearer(iteration++);
        for (const Triangle& t : triangles) drawTextured(t, z, texture);
        benchmark::ClobberMemory();
    }
    state.counters["pixels/s"] =
        benchmark::Counter(double(pixels) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pixels/pass"] = double(pixels);
    destroyImage(texture);
}
BENCHMARK(BM_TexturedSmallTriangles)->Unit(benchmark::kMicrosecond);

void BM_RotozoomBackground(benchmark::State& state)
{
    Screen screen;
    Image* background = loadPicture(state, "space.png");
    const float zoom = float(state.range(0)) / 10.0f;
    for (auto _ : state) {
        ROTOZOOM(nullptr, background, 320, 240, 0, zoom, zoom, kTransparent, 0, 0);
        benchmark::ClobberMemory();
    }
    state.counters["pixels/s"] =
        benchmark::Counter(double(kFramePixels) * double(state.iterations()), benchmark::Counter::kIsRate);
    destroyImage(background);
}
BENCHMARK(BM_RotozoomBackground)->Arg(10)->Arg(17)->ArgName("zoom_x10")->Unit(benchmark::kMicrosecond);

void BM_RotozoomBlendFlame(benchmark::State& state)
{
    Screen screen;
    Image* flame = loadPicture(state, "fire2.png");
    for (auto _ : state) {
        ROTOZOOM_BLEND(nullptr, flame, 320, 240, 37, 1.5f, 1.5f, kTransparent, 180);
        benchmark::ClobberMemory();
    }
    destroyImage(flame);
}
BENCHMARK(BM_RotozoomBlendFlame);

void BM_MemcpyFrame(benchmark::State& state)
{
    std::vector<uint32_t> from(kFramePixels, 0xFF102030), to(kFramePixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

} // namespace
