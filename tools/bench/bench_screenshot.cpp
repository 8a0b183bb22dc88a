// Screenshot encoding: one 640 x 480 picture (the top left of the game's background,
// a busy starfield) through the shared PNG writer at zlib's usual level 6, which the
// screenshots use, and at level 9, which the asset generator uses.
#include "png/png.h"
#include "png/png_writer.h"
#include "png/raster.h"

#include <benchmark/benchmark.h>

namespace {

Raster screenSizedPicture()
{
    Raster picture(640, 480, 3);
    Image* background = PNG_LOAD(SOURCE_DIR "/data/visual/space.png", kPngImage);
    for (uint32_t y = 0; background && y < picture.height && y < background->height; ++y) {
        const uint32_t* row = imageRow(background, y);
        for (uint32_t x = 0; x < picture.width && x < background->width; ++x) {
            uint8_t* sample = picture.pixel(x, y);
            sample[0] = uint8_t(row[x] >> 16);
            sample[1] = uint8_t(row[x] >> 8);
            sample[2] = uint8_t(row[x]);
        }
    }
    PNG_FREE(background);
    return picture;
}

void BM_ScreenshotEncode(benchmark::State& state)
{
    const Raster picture = screenSizedPicture();
    size_t bytes = 0;
    for (auto _ : state) bytes = encodePng(picture, static_cast<int>(state.range(0))).size();
    state.counters["file_kb"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_ScreenshotEncode)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

} // namespace
