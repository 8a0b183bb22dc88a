// PNG decoding speed: PNG_DECODE of the game's background against libpng decoding the
// same in-memory bytes to 8-bit RGBA, so the two figures come from one run on one
// machine. Both read from memory; file reading is left out of either.
#include "png/png.h"

#include <benchmark/benchmark.h>
#include <libpng16/png.h> // by its folder: our own loader header is png.h too

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

const std::vector<uint8_t>& backgroundBytes()
{
    static const std::vector<uint8_t> bytes = [] {
        std::ifstream file(SOURCE_DIR "/data/visual/space.png", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
    }();
    return bytes;
}

void BM_PngDecode(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = backgroundBytes();
    for (auto _ : state) {
        Image* image = PNG_DECODE(bytes.data(), bytes.size(), kPngImage);
        if (!image) {
            state.SkipWithError("PNG_DECODE refused data/visual/space.png");
            break;
        }
        benchmark::DoNotOptimize(imagePixels(image));
        PNG_FREE(image);
    }
}
BENCHMARK(BM_PngDecode)->Unit(benchmark::kMillisecond);

void BM_LibpngDecodeRgba(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = backgroundBytes();
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
            state.SkipWithError("libpng refused data/visual/space.png");
            break;
        }
        image.format = PNG_FORMAT_RGBA;
        pixels.resize(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
            state.SkipWithError(image.message);
            break;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_LibpngDecodeRgba)->Unit(benchmark::kMillisecond);

} // namespace
