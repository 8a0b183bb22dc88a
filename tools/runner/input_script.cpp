// Reading input scripts and drawing random input. Escape is never pressed at random,
// so a random run always plays all its frames.
#include "input_script.h"

#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

struct NamedKey {
    const char* name;
    int code;
};

constexpr std::array<NamedKey, 11> kKeys{{{"UP", scancode::UP},
                                          {"DOWN", scancode::DOWN},
                                          {"LEFT", scancode::LEFT},
                                          {"RIGHT", scancode::RIGHT},
                                          {"W", scancode::W},
                                          {"A", scancode::A},
                                          {"S", scancode::S},
                                          {"SPACE", scancode::SPACE},
                                          {"PGUP", scancode::PAGE_UP},
                                          {"PGDN", scancode::PAGE_DOWN},
                                          {"ESC", scancode::ESCAPE}}};

constexpr size_t kRandomKeys = kKeys.size() - 1; // all but Escape
constexpr double kFlipChance = 0.05;
constexpr double kZoomFlipChance = 0.005; // zoom keys rarely, or the view spins out
constexpr double kLongestFrame = 0.040;
constexpr double kStall = 2.0;

// The standard library's distributions are free to draw as each implementation likes
// (libstdc++ and libc++ pick different stall frames from the same engine), so a run
// on the desktop and one in the browser would play different inputs. These draws are
// written out, the same everywhere, and give what libstdc++ gives, so the runs pinned
// before keep their results.

// Top 64 bits of the 128-bit product, from 32-bit halves: no 128-bit type needed.
uint64_t highProduct(uint64_t a, uint64_t b)
{
    const uint64_t aLow = a & 0xffffffffu, aHigh = a >> 32;
    const uint64_t bLow = b & 0xffffffffu, bHigh = b >> 32;
    const uint64_t middle = (aLow * bLow >> 32) + (aHigh * bLow & 0xffffffffu) + aLow * bHigh;
    return aHigh * bHigh + (aHigh * bLow >> 32) + (middle >> 32);
}

// In [0, 1): the engine's 64 bits scaled down (the conversion rounds to nearest, so a
// draw close to 2^64 would round up to 1: it is held just below).
double unitDraw(std::mt19937_64& generator)
{
    return std::min(static_cast<double>(generator()) * 0x1p-64, std::nextafter(1.0, 0.0));
}

// In [0, count), unbiased: the high half of draw * count, drawing again while the low
// half falls in the few values that would favour some results (Lemire's method).
uint64_t belowDraw(std::mt19937_64& generator, uint64_t count)
{
    const uint64_t threshold = (0 - count) % count;
    for (;;) {
        const uint64_t draw = generator();
        if (draw * count >= threshold) return highProduct(draw, count);
    }
}

} // namespace

int keyCode(const std::string& name)
{
    for (const NamedKey& key : kKeys) {
        if (name == key.name) return key.code;
    }
    return -1;
}

bool readScript(const std::string& path, std::vector<ScriptStep>& steps, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        ScriptStep step;
        if (!(words >> step.frames)) {
            if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
            error = path + ":" + std::to_string(number) + ": expected FRAMES SECONDS KEY...";
            return false;
        }
        if (!(words >> step.input.seconds) || step.frames < 0 || !(step.input.seconds >= 0.0)) {
            error = path + ":" + std::to_string(number) + ": expected a frame count and a frame time in seconds";
            return false;
        }
        for (std::string name; words >> name;) {
            const int code = keyCode(name);
            if (code < 0) {
                error = path + ":" + std::to_string(number) + ": unknown key " + name;
                return false;
            }
            step.input.keys.push_back(code);
        }
        steps.push_back(step);
    }
    return true;
}

RandomInput::RandomInput(uint64_t seed, long long frames, int stalls) : generator_(seed), down_(kRandomKeys, false)
{
    const uint64_t frameCount = frames > 0 ? static_cast<uint64_t>(frames) : 1;
    for (int i = 0; i < stalls; ++i) stallFrames_.push_back(static_cast<long long>(belowDraw(generator_, frameCount)));
    std::sort(stallFrames_.begin(), stallFrames_.end());
}

ScriptedFrame RandomInput::next()
{
    ScriptedFrame input;
    for (size_t i = 0; i < kRandomKeys; ++i) {
        const bool zoomKey = kKeys[i].code == scancode::PAGE_UP || kKeys[i].code == scancode::PAGE_DOWN;
        if (unitDraw(generator_) < (zoomKey ? kZoomFlipChance : kFlipChance)) down_[i] = !down_[i];
        if (down_[i]) input.keys.push_back(kKeys[i].code);
    }
    input.seconds = unitDraw(generator_) * kLongestFrame;
    if (std::binary_search(stallFrames_.begin(), stallFrames_.end(), frame_)) input.seconds = kStall;
    ++frame_;
    return input;
}
