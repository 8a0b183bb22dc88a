// The runner's inputs: which keys are down and how long each frame takes. Either a
// script of lines "FRAMES SECONDS KEY..." (hold those keys for that many frames of
// that length; # starts a comment) or random holds and frame times from a seed.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

struct ScriptedFrame {
    std::vector<int> keys; // scan codes held during the frame
    double seconds = 0.02; // clock advance before the frame (the 3 ms sleep comes on top)
};

struct ScriptStep {
    int frames = 0;
    ScriptedFrame input;
};

// Reads a script; false with the reason on a line that cannot be read.
bool readScript(const std::string& path, std::vector<ScriptStep>& steps, std::string& error);
// Scan code of a key name (UP, DOWN, LEFT, RIGHT, W, A, S, SPACE, PGUP, PGDN, ESC), or -1.
int keyCode(const std::string& name);

// Random play: each key flips now and then, so keys are held for stretches as a
// player would; frame times vary up to 40 ms, with a given number of 2 s stalls.
class RandomInput {
public:
    RandomInput(uint64_t seed, long long frames, int stalls);
    ScriptedFrame next();

private:
    std::mt19937_64 generator_;
    std::vector<bool> down_;
    std::vector<long long> stallFrames_;
    long long frame_ = 0;
};
