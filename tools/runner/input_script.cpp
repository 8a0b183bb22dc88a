// Reading input scripts and drawing random input. Escape is never pressed at random,
// so a random run always plays all its frames.
#include "input_script.h"

#include "platform/platform.h"

#include <algorithm>
#include <array>
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
    std::uniform_int_distribution<long long> anyFrame(0, frames > 0 ? frames - 1 : 0);
    for (int i = 0; i < stalls; ++i) stallFrames_.push_back(anyFrame(generator_));
    std::sort(stallFrames_.begin(), stallFrames_.end());
}

ScriptedFrame RandomInput::next()
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    ScriptedFrame input;
    for (size_t i = 0; i < kRandomKeys; ++i) {
        const bool zoomKey = kKeys[i].code == scancode::PAGE_UP || kKeys[i].code == scancode::PAGE_DOWN;
        if (unit(generator_) < (zoomKey ? kZoomFlipChance : kFlipChance)) down_[i] = !down_[i];
        if (down_[i]) input.keys.push_back(kKeys[i].code);
    }
    input.seconds = unit(generator_) * kLongestFrame;
    if (std::binary_search(stallFrames_.begin(), stallFrames_.end(), frame_)) input.seconds = kStall;
    ++frame_;
    return input;
}
