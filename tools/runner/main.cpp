// Headless runner: plays the game through the play session on the headless backend
// with a fixed seed, a script or random input and fixed frame times, or replays a
// demo as fast as it goes, then prints the final state and a hash of the last frame
// (and, for a demo, whether they are as recorded). Run it from the repository root
// (the game reads data/). Options: --seed N (0..1000000), --frames N, --level L,
// --script FILE | --random | --replay FILE, --record FILE (--force to replace it), --stalls N (2 s frames in a
// random run), --trace (each frame's hash, to find where two builds part), --timing, --check-memory,
// --challenge DAY (the day's challenge, one step a frame: the script's times are not used, and
// --seed seeds only the random input). A replayed challenge demo is also checked to be a
// well-formed challenge: exit status 0 says it is, 4 that it replayed as recorded but is none.
#include "game/challenge.h"
#include "game/game_demo.h"
#include "game/game_session.h"
#include "platform/headless/headless.h"
#include "replay/headless_turn.h"
#include "input_script.h"
#include "heap_count.h"
#include "platform/platform.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The game seeds its generator from the clock at start-up: the seed is the start time.
// Times are kept as 32-bit floats, so the clock stays small enough for milliseconds.
constexpr double kClockBase = 1000.0;
constexpr long long kLargestSeed = 1000000;
constexpr long long kWarmUpFrames = 1000;
constexpr int kCannotRun = 2;
constexpr int kNoChallengeResult = 4;
constexpr const char* kUsage = "usage: runner (--script FILE | --random | --replay FILE) [--seed N] [--frames N]"
                               " [--level L] [--stalls N] [--challenge DAY] [--record FILE [--force]] [--trace]"
                               " [--timing] [--check-memory]";

struct Options {
    long long seed = 1;
    long long frames = 1000;
    int level = 1;
    std::string script;
    bool random = false;
    int stalls = 0;
    bool trace = false; // print each frame's hash as it is played
    bool timing = false;
    bool checkMemory = false;
    std::string record;
    bool force = false; // --record replaces an existing file
    std::string replay;
    bool playOptionGiven = false; // --seed, --frames, --level or --stalls: none of them fits a replay
    bool fieldOptionGiven = false; // --frames, --level or --stalls: a challenge's day fixes them
    std::optional<ChallengeDay> challenge;
};

// The inputs of the run: a script, random keys, or the demo's frames (which the play
// session takes in place of any input, so that the runner only lets it play).
bool checkInputs(const Options& options, std::string& error)
{
    const int inputs = !options.script.empty() + options.random + !options.replay.empty();
    if (inputs != 1) {
        error = "give one of --script FILE, --random and --replay FILE";
        return false;
    }
    if (!options.replay.empty() && (options.playOptionGiven || !options.record.empty() || options.challenge)) {
        error = "--replay plays the demo as recorded: no --seed, --frames, --level, --stalls, --challenge or --record";
        return false;
    }
    if (options.challenge && options.fieldOptionGiven) {
        error = "--challenge plays the day's run: no --frames, --level or --stalls";
        return false;
    }
    return true;
}

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
        options.fieldOptionGiven |= name == "--frames" || name == "--level" || name == "--stalls";
        options.playOptionGiven |= name == "--seed" || options.fieldOptionGiven;
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
        if (name == "--record" && hasValue) {
            options.record = argv[++i];
            continue;
        }
        if (name == "--challenge" && hasValue) {
            options.challenge = parseChallengeDay(argv[++i], error);
            if (!options.challenge) return false;
            continue;
        }
        if (name == "--replay" && hasValue) {
            options.replay = argv[++i];
            continue;
        }
        if (name == "--random") options.random = true;
        else if (name == "--force") options.force = true;
        else if (name == "--trace") options.trace = true;
        else if (name == "--timing") options.timing = true;
        else if (name == "--check-memory") options.checkMemory = true;
        else {
            error = "bad option " + name;
            return false;
        }
    }
    return checkInputs(options, error);
}

// Blocks the game holds beyond two per asteroid (its outline, as stored and turned).
long long heapBeyondAsteroids(const Game& game)
{
    return heap_count::liveBlocks() - 2 * static_cast<long long>(game.asteroids.size());
}

int refuse(const std::string& error)
{
    std::fprintf(stderr, "runner: %s\n%s\n", error.c_str(), kUsage);
    return kCannotRun;
}

// The game started as the options (or the demo) say, with the sound bank's list of
// what it loaded kept off the runner's output, which is the final state alone.
bool start(PlaySession& session, Game& game, const Options& options, Demo& demo, std::string& error)
{
    std::streambuf* console = std::cout.rdbuf(nullptr);
    bool started = false;
    if (!options.replay.empty()) {
        started = startReplaying(session, game, std::move(demo), error);
    } else if (options.challenge) {
        started = startChallenge(session, game, *options.challenge, static_cast<int>(options.frames), error);
    } else {
        started = startPlaying(session, game, error);
        startAtLevel(game, options.level);
    }
    std::cout.rdbuf(console);
    std::cout.clear();
    return started;
}

void printEnd(const DemoEnd& end)
{
    std::printf("frames %u\n", end.frames);
    std::printf("score %d\n", end.score);
    std::printf("level %d\n", end.level);
    std::printf("fuel %.3f\n", double(end.fuel));
    std::printf("battery %.3f\n", double(end.battery));
    std::printf("asteroids left %u\n", end.asteroidsLeft);
    std::printf("frame hash %016" PRIx64 "\n", end.frameHash);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    std::vector<ScriptStep> script;
    if (!parseOptions(argc, argv, options, error) || (!options.script.empty() && !readScript(options.script, script, error))) {
        return refuse(error);
    }
    const bool replaying = !options.replay.empty();
    Demo demo;
    if (replaying && !readDemoFile(options.replay, demo, error)) {
        std::fprintf(stderr, "runner: %s\n", error.c_str());
        return kReplayUnverifiable;
    }
    // Checked before the replay takes the demo: a challenge's result is its demo.
    const bool replayingChallenge = replaying && demo.start.challenge;
    const std::string notChallenge = replayingChallenge ? challengeProblem(demo) : "";
    const std::string challengeDay = replayingChallenge ? formatChallengeDay(demo.start.challenge->day) : "";
    int challengeStepCount = 0;
    if (options.challenge) {
        if (!challengeSteps(processEnvironment(), challengeStepCount, error)) return refuse(error);
        options.frames = challengeStepCount;
    }
    auto recording = std::make_unique<DemoWriter>();
    if (!options.record.empty() && !recording->open(options.record, options.force)) return refuse(recording->error());

    headless::reset();
    headless::setTime(kClockBase + static_cast<double>(options.seed));
    Game game;
    PlaySession session;
    session.settings = defaultSettings();
    if (!start(session, game, options, demo, error)) return refuse(error);
    if (!options.record.empty() && !startRecording(session, game, std::move(recording), error)) return refuse(error);

    RandomInput randomInput(static_cast<uint64_t>(options.seed), options.frames, options.stalls);
    size_t stepIndex = 0;
    int stepFramesLeft = script.empty() ? 0 : script[0].frames;
    std::vector<double> frameSeconds;
    long long heapBase = 0;
    long long heapFaults = 0;
    long long played = 0;
    bool running = true;
    // A replay's turns need no input: the session plays the demo's frames until it ends.
    for (; running && (replaying || played < options.frames); ++played) {
        ScriptedFrame input;
        if (options.random) {
            input = randomInput.next();
        } else if (!replaying) {
            while (stepIndex < script.size() && stepFramesLeft == 0) {
                if (++stepIndex < script.size()) stepFramesLeft = script[stepIndex].frames;
            }
            if (stepIndex >= script.size()) break; // the script has ended
            input = script[stepIndex].input;
            --stepFramesLeft;
        }
        if (!replaying) {
            headless::releaseAllKeys();
            for (int key : input.keys) headless::setKey(key, true);
            headless::advanceTime(options.challenge ? kChallengeStep : input.seconds);
        }

        const auto start = std::chrono::steady_clock::now();
        running = playHeadlessTurn(session, game);
        const auto end = std::chrono::steady_clock::now();
        if (options.timing) frameSeconds.push_back(std::chrono::duration<double>(end - start).count());
        if (options.trace) std::printf("frame %lld hash %016" PRIx64 "\n", played, playedFrameHash(session));

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

    DemoEnd end = gameEnd(session, game);
    if (!replaying) end.frames = static_cast<uint32_t>(played);
    printEnd(end);
    int status = heapFaults == 0 ? 0 : 1;
    if (!finishRecording(session, end, error)) {
        std::fprintf(stderr, "runner: the demo is incomplete: %s\n", error.c_str());
        status = 1;
    }
    if (replaying) {
        const ReplayVerdict verdict = replayVerdict(session, end);
        std::printf("%s: %s\n", options.replay.c_str(), verdict.message.c_str());
        if (status == 0) status = verdict.status;
        if (replayingChallenge) {
            if (notChallenge.empty()) {
                std::printf("challenge %s: a well-formed challenge\n", challengeDay.c_str());
            } else {
                std::printf("challenge %s: not a challenge result: %s\n", challengeDay.c_str(), notChallenge.c_str());
                if (status == 0) status = kNoChallengeResult;
            }
        }
    }
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
    return status;
}
