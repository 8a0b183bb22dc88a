// The browser backend's own code that runs without a browser, compiled natively: the
// WAV reader that gives Web Audio its samples at once, and the canvas's scaling from
// the shown size to framebuffer pixels.
#include "platform/web/canvas_scale.h"
#include "platform/web/web_wav.h"
#include "support/scratch_folder.h"
#include "support/wave_bytes.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace wave_bytes;

struct WavCase {
    const char* what;
    std::string bytes;
    int channels = 0;     // expected; 0 for a file refused
    size_t frames = 0;
    float first = 0.0f;   // the first channel's first sample
    float second = 0.0f;  // the second channel's first sample, for two channels
};

std::string samples(std::initializer_list<int> values, int bytesEach)
{
    std::string out;
    for (int value : values) out += little(uint32_t(value), bytesEach);
    return out;
}

} // namespace

TEST(WebWav, ReadsWhatTheGameShipsAndRefusesTheRestWithTheFileNamed)
{
    const std::string mono8 = chunk("fmt ", format(1, 11025, 8));
    const std::vector<WavCase> cases = {
        {"16-bit mono", mono16(3, -16384), 1, 3, -0.5f},
        {"8-bit mono, unsigned", riff(mono8 + chunk("data", samples({192, 64, 128}, 1))), 1, 3, 0.5f},
        {"16-bit stereo, channel after channel",
         riff(chunk("fmt ", format(2, 44100, 16)) + chunk("data", samples({0x4000, 0xC000, 0, 0}, 2))), 2, 2, 0.5f,
         -0.5f},
        {"an odd chunk before fmt, padded", riff(chunk("LIST", "abc") + mono8 + chunk("data", samples({128}, 1))), 1,
         1, 0.0f},
        {"no samples", riff(mono8 + chunk("data", "")), 1, 0, 0.0f},
        {"a last frame cut short is left out",
         riff(chunk("fmt ", format(1, 8000, 16)) + chunk("data", samples({0x4000}, 2) + "\x01")), 1, 1, 0.5f},
        {"no RIFF header", "RIFX" + mono16(3, 0).substr(4)},
        {"shorter than a header", "RIFF"},
        {"compressed (format 2)", riff(chunk("fmt ", format(1, 8000, 16, 2)) + chunk("data", samples({0}, 2)))},
        {"24-bit samples", riff(chunk("fmt ", format(1, 8000, 24)) + chunk("data", samples({0}, 3)))},
        {"three channels", riff(chunk("fmt ", format(3, 8000, 16)) + chunk("data", samples({0, 0, 0}, 2)))},
        {"data before fmt", riff(chunk("data", samples({0}, 2)))},
        {"a chunk longer than the file", riff(mono8 + "data" + little(1000, 4) + "ab")},
        {"a sample rate of 0", riff(chunk("fmt ", format(1, 0, 16)) + chunk("data", samples({0}, 2)))},
    };
    ScratchFolder scratch("web_wav");
    for (const WavCase& c : cases) {
        const std::string path = (scratch.path() / "sound.wav").string();
        std::ofstream(path, std::ios::binary) << c.bytes;
        PcmWave wave;
        std::string problem;
        const bool read = readPcmWave(path, wave, problem);
        ASSERT_EQ(read, c.channels > 0) << c.what << ": " << problem;
        if (!read) {
            EXPECT_EQ(problem.rfind(path + " ", 0), 0u) << c.what << ": " << problem;
            continue;
        }
        EXPECT_EQ(wave.channels, c.channels) << c.what;
        ASSERT_EQ(wave.frames(), c.frames) << c.what;
        if (c.frames == 0) continue;
        EXPECT_EQ(wave.samples[0], c.first) << c.what;
        if (c.channels == 2) {
            EXPECT_EQ(wave.samples[c.frames], c.second) << c.what;
        }
    }
    PcmWave wave;
    std::string problem;
    EXPECT_FALSE(readPcmWave((scratch.path() / "missing.wav").string(), wave, problem));
    EXPECT_NE(problem.find("missing.wav"), std::string::npos) << problem;
}

TEST(WebCanvasScale, PointsOverACanvasShownAtAnySizeFindTheirFramebufferPixel)
{
    struct Case {
        double width, height, x, y;
        bool inside;
        int column, row;
    };
    const Case cases[] = {
        {640, 480, 0, 0, true, 0, 0},
        {640, 480, 639.9, 479.9, true, 639, 479},
        {1280, 960, 1279, 959, true, 639, 479},  // twice the size: two CSS pixels a pixel
        {1280, 960, 641, 3, true, 320, 1},
        {320, 240, 160, 120, true, 320, 240},    // half the size: every other pixel
        {1000, 750, 500.5, 374.9, true, 320, 239}, // a scale of 1.5625
        {1000, 750, 1000, 10, false, 0, 0},       // the right edge is past the last pixel
        {1000, 750, -0.1, 10, false, 0, 0},
        {1000, 750, 10, 750, false, 0, 0},
        {0, 0, 10, 10, false, 0, 0},              // not shown
    };
    for (const Case& c : cases) {
        int column = -1, row = -1;
        const bool inside = web::framebufferPixel(c.x, c.y, c.width, c.height, column, row);
        EXPECT_EQ(inside, c.inside) << c.width << " x " << c.height << " at " << c.x << ", " << c.y;
        if (!c.inside) continue;
        EXPECT_EQ(column, c.column) << c.width << " x " << c.height << " at " << c.x;
        EXPECT_EQ(row, c.row) << c.width << " x " << c.height << " at " << c.y;
    }
}
