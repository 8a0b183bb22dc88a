// Headless runner: plays the game through the play session on the headless backend
// with a fixed seed, a script or random input and fixed frame times, then prints the
// final state and a hash of the last frame. Run it from the repository root (the game reads data/).
// Options: --seed N (0..1000000), --frames N, --level L, --script FILE | --random,
// --stalls N (2 s frames in a random run), --timing, --check-memory.
#include "fbsound_fake.h"
#include "game_session.h"
#include "headless.h"
#include "input_script.h"
#include "heap_count.h"
#include "platform.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The game seeds its generator from the clock at start-up: the seed is the start time.
// Times are kept as 32-bit floats, so the clock stays small enough for milliseconds.
constexpr double kClockBase = 1000.0;
constexpr long long kLargestSeed = 1000000;
constexpr long long kWarmUpFrames = 1000;

struct Options {
    long long seed = 1;
    long long frames = 1000;
    int level = 1;
    std::string script;
    bool random = false;
    int stalls = 0;
    bool timing = false;
    bool checkMemory = false;
};

bool parseOptions(int argc, char** argv, Options& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const bool hasValue = i + 1 < argc;
        auto number = [&](long long low, long long high, long long& out) {
            if (!hasValue) return false;
            char* end = nullptr;
            out = std::strtoll(argv[++i], &end, 10);
            return *end == '\0' && out >= low && out <= high;
        };
        long long value = 0;
        if (name == "--seed" && number(0, kLargestSeed, options.seed)) continue;
        if (name == "--frames" && number(1, 100000000, options.frames)) continue;
        if (name == "--level" && number(1, 1000, value)) {
            options.level = static_cast<int>(value);
            continue;
        }
        if (name == "--stalls" && number(0, 1000, value)) {
            options.stalls = static_cast<int>(value);
            continue;
        }
        if (name == "--script" && hasValue) {
            options.script = argv[++i];
            continue;
        }
        if (name == "--random") options.random = true;
        else if (name == "--timing") options.timing = true;
        else if (name == "--check-memory") options.checkMemory = true;
        else {
            error = "bad option " + name;
            return false;
        }
    }
    if (options.random == !options.script.empty()) {
        error = "give either --script FILE or --random";
        return false;
    }
    return true;
}

// FNV-1a over the picture's pixels, row by row.
uint64_t frameHash()
{
    SCREEN_LOCK();
    uint64_t hash = 0xcbf29ce484222325ull;
    const uint8_t* pixels = SCREEN_POINTER();
    for (size_t i = 0; pixels && i < size_t{SCREEN_WIDTH} * SCREEN_HEIGHT * 4; ++i) {
        hash = (hash ^ pixels[i]) * 0x100000001b3ull;
    }
    SCREEN_UNLOCK(0, -1);
    return hash;
}

// The recording sound library never finishes a sound and keeps every call; let each
// one-off sound end within its frame and forget the calls, as a real run would.
void settleSounds(const Game& game)
{
    for (const NamedSound& sound : game.soundBank.sounds) {
        if (&sound == &game.soundBank.sounds[game.sounds.thrust] || &sound == &game.soundBank.sounds[game.sounds.shield]) {
            continue;
        }
        for (const SoundVoice& voice : sound.voices) fbsound_fake::setLoopsLeft(voice.sound, 0);
    }
    fbsound_fake::clearCalls();
}

// Blocks the game holds beyond two per asteroid (its outline, as stored and turned).
long long heapBeyondAsteroids(const Game& game)
{
    return heap_count::liveBlocks() - 2 * static_cast<long long>(game.asteroids.size());
}

int activeAsteroids(const Game& game)
{
    return static_cast<int>(std::count_if(game.asteroids.begin(), game.asteroids.end(),
                                          [](const Entity& asteroid) { return asteroid.active; }));
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    std::vector<ScriptStep> script;
    if (!parseOptions(argc, argv, options, error) || (!options.random && !readScript(options.script, script, error))) {
        std::fprintf(stderr,
                     "runner: %s\nusage: runner (--script FILE | --random) [--seed N] [--frames N] [--level L]"
                     " [--stalls N] [--timing] [--check-memory]\n",
                     error.c_str());
        return 2;
    }

    headless::reset();
    headless::setTime(kClockBase + static_cast<double>(options.seed));
    Game game;
    PlaySession session;
    session.settings = defaultSettings();
    // The sound bank names every wave and sound it loads on standard output; the
    // runner's output is the final state alone.
    std::streambuf* console = std::cout.rdbuf(nullptr);
    const bool started = startPlaying(session, game, error);
    std::cout.rdbuf(console);
    std::cout.clear();
    if (!started) {
        std::fprintf(stderr,
                     "runner: %s\nusage: runner (--script FILE | --random) [--seed N] [--frames N] [--level L]"
                     " [--stalls N] [--timing] [--check-memory]\n",
                     error.c_str());
        return 2;
    }
    if (options.level > 1) { // the first frame builds the level asked for
        game.player.levelNumber = options.level - 1;
        game.levelCleared = true;
    }

    RandomInput randomInput(static_cast<uint64_t>(options.seed), options.frames, options.stalls);
    size_t stepIndex = 0;
    int stepFramesLeft = script.empty() ? 0 : script[0].frames;
    std::vector<double> frameSeconds;
    long long heapBase = 0;
    long long heapFaults = 0;
    long long played = 0;
    bool running = true;
    for (; played < options.frames && running; ++played) {
        ScriptedFrame input;
        if (options.random) {
            input = randomInput.next();
        } else {
            while (stepIndex < script.size() && stepFramesLeft == 0) {
                if (++stepIndex < script.size()) stepFramesLeft = script[stepIndex].frames;
            }
            if (stepIndex >= script.size()) break; // the script has ended
            input = script[stepIndex].input;
            --stepFramesLeft;
        }
        headless::releaseAllKeys();
        for (int key : input.keys) headless::setKey(key, true);
        headless::advanceTime(input.seconds);

        const auto start = std::chrono::steady_clock::now();
        running = playTurn(session, game);
        const auto end = std::chrono::steady_clock::now();
        if (options.timing) frameSeconds.push_back(std::chrono::duration<double>(end - start).count());
        settleSounds(game);

        // Containers reach their working sizes in the first frames (the recorded calls,
        // the sound library's tables); from then on only asteroids may add blocks.
        if (options.checkMemory) {
            const long long held = heapBeyondAsteroids(game);
            if (played < kWarmUpFrames) {
                heapBase = std::max(heapBase, held);
            } else if (held > heapBase && heapFaults++ < 5) {
                std::fprintf(stderr, "runner: frame %lld holds %lld heap blocks besides the asteroids, over %lld\n",
                             played, held, heapBase);
            }
        }
    }

    std::printf("frames %lld\n", played);
    std::printf("score %d\n", game.player.score);
    std::printf("level %d\n", game.player.levelNumber);
    std::printf("fuel %.3f\n", double(game.player.fuel));
    std::printf("battery %.3f\n", double(game.player.battery));
    std::printf("asteroids left %d\n", activeAsteroids(game));
    std::printf("frame hash %016" PRIx64 "\n", frameHash());
    if (options.timing && !frameSeconds.empty()) {
        std::sort(frameSeconds.begin(), frameSeconds.end());
        std::printf("median frame %.3f ms (90th percentile %.3f ms)\n", frameSeconds[frameSeconds.size() / 2] * 1e3,
                    frameSeconds[frameSeconds.size() * 9 / 10] * 1e3);
    }
    if (options.checkMemory) {
        std::printf("heap %lld blocks (%lld bytes) at the end; %lld frames held more than in the first %lld\n",
                    heap_count::liveBlocks(), heap_count::liveBytes(), heapFaults, kWarmUpFrames);
    }
    endSession(session);
    endGame(game);
    headless::reset();
    return heapFaults == 0 ? 0 : 1;
}
