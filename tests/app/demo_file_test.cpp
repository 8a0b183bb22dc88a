// Demo files: what is written reads back bit for bit, and every kind of bad file is
// refused with its problem named (the file's own name in front), without reading
// past the bytes or allocating for counts the file cannot hold. Recording never costs
// the user a file, and a recording that stops is said when it stops.
#include "app/demo_file.h"
#include "app/play_session.h"
#include "platform/platform.h"

#include "support/scratch_folder.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>

namespace {

DemoStart sampleStart()
{
    DemoStart start;
    start.gameVersion = "1.2.3";
    start.seed = 1003.0;
    start.clock = 1003.0000000000002; // one step above 1003: the bits must survive
    start.level = 7;
    start.shake = false;
    start.ship.resize(2);
    start.ship[0].start = {1.5f, -2.0f};
    start.ship[0].end = {3.0f, 4.0f};
    start.ship[0].texStart = {0.0f, 1.0f};
    start.ship[0].texEnd = {1.0f, 0.0f};
    start.ship[1].start = {-0.0f, 1e-40f}; // a negative zero and a subnormal: bits, not values
    start.ship[1].end = {9.0f, -8.0f};
    start.ship[1].texStart = {0.5f, 0.25f};
    start.ship[1].texEnd = {0.125f, 1.0f};
    return start;
}

DemoStart sampleChallengeStart()
{
    DemoStart start = sampleStart();
    start.challenge = DemoChallenge{{2026, 12, 1}, 7, true, false};
    return start;
}

DemoEnd sampleEnd(uint32_t frames)
{
    return {frames, 6925, 2, 98.5070038f, 0.125f, 33, 0x91f788b419f25363ull};
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Where the fixed fields of sampleStart()'s encoding lie.
constexpr size_t kVersionAt = 8;
constexpr size_t kSeedAt = kVersionAt + 2 + 1 + 5;
constexpr size_t kLevelAt = kSeedAt + 16;
constexpr size_t kOptionsAt = kLevelAt + 2;
constexpr size_t kShipLinesAt = kOptionsAt + 1;
constexpr size_t kChallengeDayAt = kOptionsAt + 1; // in format 2: year, month, day, rules, flags
constexpr size_t kChallengeFlagsAt = kChallengeDayAt + 6;

template <class T>
std::string patched(std::string bytes, size_t at, T value)
{
    std::memcpy(bytes.data() + at, &value, sizeof value); // the tests run little-endian
    return bytes;
}

std::string frameBytes(uint16_t held, double step)
{
    std::string bytes(1, 'F');
    bytes.append(reinterpret_cast<const char*>(&held), sizeof held);
    bytes.append(reinterpret_cast<const char*>(&step), sizeof step);
    return bytes;
}

} // namespace

TEST(DemoFile, WrittenAndReadBackBitForBit)
{
    ScratchFolder folder("demo_round_trip");
    std::mt19937_64 random(15);
    std::vector<DemoFrame> frames;
    for (int i = 0; i < 2000; ++i) {
        DemoFrame frame;
        for (Action action : {Action::thrust, Action::left, Action::right, Action::jump, Action::fire, Action::ping,
                              Action::shield, Action::sight, Action::zoomIn, Action::zoomOut}) {
            frame.held[bit(action)] = random() & 1;
        }
        // Steps of every magnitude a clock gives, down to the last bit of the mantissa.
        frame.step = std::ldexp(double(random() >> 11) / double(uint64_t(1) << 53), -int(random() % 30));
        frames.push_back(frame);
    }
    frames.back().held[bit(Action::quit)] = true;

    DemoWriter writer;
    ASSERT_TRUE(writer.open("run.demo", false)) << writer.error();
    ASSERT_TRUE(writer.begin(sampleStart())) << writer.error();
    for (const DemoFrame& frame : frames) writer.add(frame);
    ASSERT_TRUE(writer.finish(sampleEnd(12345))) << writer.error(); // the writer counts the frames itself

    Demo demo;
    std::string error;
    ASSERT_TRUE(readDemoFile("run.demo", demo, error)) << error;
    const DemoStart start = sampleStart();
    EXPECT_EQ(demo.start.gameVersion, start.gameVersion);
    EXPECT_EQ(std::bit_cast<uint64_t>(demo.start.seed), std::bit_cast<uint64_t>(start.seed));
    EXPECT_EQ(std::bit_cast<uint64_t>(demo.start.clock), std::bit_cast<uint64_t>(start.clock));
    EXPECT_EQ(demo.start.level, start.level);
    EXPECT_EQ(demo.start.shake, start.shake);
    ASSERT_EQ(demo.start.ship.size(), start.ship.size());
    EXPECT_EQ(std::memcmp(demo.start.ship.data(), start.ship.data(), sizeof(ModelLine) * start.ship.size()), 0);
    ASSERT_EQ(demo.frames.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(demo.frames[i].held, frames[i].held) << "frame " << i;
        ASSERT_EQ(std::bit_cast<uint64_t>(demo.frames[i].step), std::bit_cast<uint64_t>(frames[i].step)) << "frame " << i;
    }
    ASSERT_TRUE(demo.end);
    EXPECT_EQ(*demo.end, sampleEnd(uint32_t(frames.size())));
}

TEST(DemoFile, FreePlayStaysFormatOneAndAChallengeIsFormatTwoThatNamesIt)
{
    const std::string freePlay = encodeDemoStart(sampleStart());
    const std::string challenge = encodeDemoStart(sampleChallengeStart());
    EXPECT_EQ(freePlay.substr(kVersionAt, 2), std::string("\1\0", 2));
    EXPECT_EQ(challenge.substr(kVersionAt, 2), std::string("\2\0", 2));
    EXPECT_EQ(challenge.substr(0, kChallengeDayAt) + challenge.substr(kChallengeFlagsAt + 1),
              patched(freePlay, kVersionAt, uint16_t(2))) << "format 2 is format 1 with the challenge after the options";
    Demo demo;
    std::string problem;
    ASSERT_TRUE(parseDemo(bytesOf(challenge), demo, problem)) << problem;
    EXPECT_EQ(demo.start.challenge, sampleChallengeStart().challenge);
    EXPECT_EQ(demo.start.ship.size(), sampleStart().ship.size());
    ASSERT_TRUE(parseDemo(bytesOf(freePlay), demo, problem)) << problem;
    EXPECT_FALSE(demo.start.challenge);
}

TEST(DemoFile, CutShortKeepsTheWholeFramesBeforeTheCut)
{
    const std::string whole = encodeDemoStart(sampleStart()) + frameBytes(1, 0.02) + frameBytes(2, 0.03) +
                              encodeDemoEnd(sampleEnd(2));
    const std::string start = encodeDemoStart(sampleStart());
    for (size_t cut = start.size(); cut < whole.size(); ++cut) {
        Demo demo;
        std::string problem;
        ASSERT_TRUE(parseDemo(bytesOf(whole.substr(0, cut)), demo, problem)) << cut << ": " << problem;
        EXPECT_FALSE(demo.end) << cut;
        EXPECT_EQ(demo.frames.size(), cut < start.size() + 11 ? 0u : cut < start.size() + 22 ? 1u : 2u) << cut;
    }
}

TEST(DemoFile, BadFilesAreRefusedWithTheirProblemNamed)
{
    const std::string start = encodeDemoStart(sampleStart());
    const std::string challenge = patched(encodeDemoStart(sampleChallengeStart()), kChallengeDayAt + 2, uint8_t(2));
    const std::string end = encodeDemoEnd(sampleEnd(1));
    const std::string frame = frameBytes(1, 0.02);
    const struct {
        const char* what;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"empty", "", "it is not a demo file"},
        {"another kind of file", "\x89PNG\r\n\x1a\n" + start.substr(8), "it is not a demo file"},
        {"cut inside the magic", start.substr(0, 5), "it is not a demo file"},
        {"cut inside the start", start.substr(0, kLevelAt + 1), "it ends inside its start"},
        {"a future version", patched(start, kVersionAt, uint16_t(3)), "demo format 3 by a newer game"},
        {"version 0", patched(start, kVersionAt, uint16_t(0)), "format 0, which never existed"},
        {"a seed that is no number", patched(start, kSeedAt, std::numeric_limits<double>::quiet_NaN()),
         "its seed is not a number"},
        {"a negative clock", patched(start, kSeedAt + 8, -1.0), "its starting clock is out of range"},
        {"level 0", patched(start, kLevelAt, uint16_t(0)), "it starts at level 0, not 1 to 1000"},
        {"level 60000", patched(start, kLevelAt, uint16_t(60000)), "it starts at level 60000"},
        {"unknown options", patched(start, kOptionsAt, uint8_t(0x81)), "options this game does not know"},
        {"65535 ship lines in a few bytes", patched(start, kShipLinesAt, uint16_t(65535)),
         "it ends inside the ship's outline"},
        {"unknown actions", start + frameBytes(1 << 11, 0.02), "frame 1 holds unknown actions"},
        {"a negative step", start + frame + frameBytes(0, -0.02), "frame 2 has a time step out of range"},
        {"a step that is no number", start + frameBytes(0, std::nan("")), "frame 1 has a time step out of range"},
        {"a step of a year", start + frameBytes(0, 365 * 86400.0), "frame 1 has a time step out of range"},
        {"frames after quit", start + frameBytes(1 << 10, 0.02) + frame, "frame 1 quits, but more frames follow"},
        {"a challenge on 30 February", patched(challenge, kChallengeDayAt + 3, uint8_t(30)),
         "its challenge day: '2026-02-30' is not a day of the calendar"},
        {"rules version 0", patched(challenge, kChallengeDayAt + 4, uint16_t(0)), "rules version 0, which never existed"},
        {"unknown challenge options", patched(challenge, kChallengeFlagsAt, uint8_t(4)),
         "its challenge asks for options this game does not know"},
        {"free play named format 2", patched(start, kVersionAt, uint16_t(2)), "its challenge day: '0002-00-00'"},
        {"an unknown record", start + frame + "X", "after frame 1 comes a record this game does not know"},
        {"an end counting 4 billion frames", start + frame + patched(end, 1, uint32_t(0xFFFFFFFF)),
         "its end counts 4294967295 frames, but it holds 1"},
        {"bytes after the end", start + frame + end + "F", "more follows its end"},
    };
    ScratchFolder folder("demo_bad");
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.what);
        std::ofstream(bad.what, std::ios::binary) << bad.bytes;
        Demo demo;
        std::string error;
        EXPECT_FALSE(readDemoFile(bad.what, demo, error));
        EXPECT_EQ(error.rfind(std::string(bad.what) + ": not a demo this game can replay: ", 0), 0u) << error;
        EXPECT_NE(error.find(bad.problem), std::string::npos) << error;
    }
}

TEST(DemoFile, FilesThatCannotBeReadAreNamed)
{
    ScratchFolder folder("demo_unreadable");
    Demo demo;
    std::string error;
    EXPECT_FALSE(readDemoFile("missing.demo", demo, error));
    EXPECT_EQ(error, "missing.demo: No such file or directory");
    EXPECT_FALSE(readDemoFile("data", demo, error));
    EXPECT_EQ(error, "data: is a folder, not a demo");
}

// --record never costs the user a file: an existing one is refused unless replacing is
// asked for, and even then is emptied only once the game has started; a start that
// fails removes the file the writer made and leaves an existing one as it was.
TEST(DemoFile, AnExistingFileIsReplacedOnlyWhenAskedAndOnlyOnceTheGameBegins)
{
    ScratchFolder folder("demo_replace");
    const std::string users = "the user's demo, longer than the one recorded over it" + std::string(500, '.');
    std::ofstream("old.demo", std::ios::binary) << users;
    const auto contents = [] {
        std::ifstream in("old.demo", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    {
        DemoWriter refused;
        EXPECT_FALSE(refused.open("old.demo", false));
        EXPECT_EQ(refused.error(), "old.demo: the file exists; --force replaces it");
        DemoWriter startFails;
        ASSERT_TRUE(startFails.open("old.demo", true)) << startFails.error();
        DemoWriter nothingMade;
        ASSERT_TRUE(nothingMade.open("new.demo", false)) << nothingMade.error();
        EXPECT_TRUE(std::filesystem::exists("new.demo"));
        // A game refused by the format itself (more lines than it counts) is a failed
        // start too, for the file replaced and the file made alike.
        DemoStart tooLarge = sampleStart();
        tooLarge.ship.resize(size_t(UINT16_MAX) + 1);
        for (DemoWriter* writer : {&startFails, &nothingMade}) EXPECT_FALSE(writer->begin(tooLarge));
    }
    EXPECT_EQ(contents(), users);
    EXPECT_FALSE(std::filesystem::exists("new.demo"));

    DemoWriter replacing;
    ASSERT_TRUE(replacing.open("old.demo", true)) << replacing.error();
    ASSERT_TRUE(replacing.begin(sampleStart())) << replacing.error();
    ASSERT_TRUE(replacing.finish(sampleEnd(0))) << replacing.error();
    EXPECT_EQ(contents(), encodeDemoStart(sampleStart()) + encodeDemoEnd(sampleEnd(0)));
}

// A full disk in mid-game is said on stderr when it happens, once, not only at quit.
TEST(DemoFile, AWriteThatFailsInPlay_IsSaidWhenItHappens)
{
    ScratchFolder folder("demo_full");
    PlaySession session;
    session.recording = std::make_unique<DemoWriter>();
    ASSERT_TRUE(session.recording->open("run.demo", false));
    ASSERT_TRUE(session.recording->begin(sampleStart()));
    // The file may grow by two frames more: the third write fails as on a full disk.
    const size_t room = encodeDemoStart(sampleStart()).size() + 2 * encodeDemoFrame({}).size();
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit narrowed = {room, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &narrowed);
    ::testing::internal::CaptureStderr();
    std::vector<std::string> saidAfter;
    for (int frame = 0; frame < 4; ++frame) {
        playFrame(session, {}, 0.02, [] { return true; });
        saidAfter.push_back(::testing::internal::GetCapturedStderr());
        ::testing::internal::CaptureStderr();
    }
    ::testing::internal::GetCapturedStderr();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    RELEASE_TIMER();
    RELEASE_KEYS();
    EXPECT_EQ(saidAfter, (std::vector<std::string>{"", "", "the demo is recorded no further: run.demo: File too large\n", ""}));
    EXPECT_EQ(session.recording->frames(), 2u);
}
